// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// File names as the file system has them: bytes, not text. A Linux name need
// not be UTF-8 ("caf\xE9.mp3" is a valid name), so the program keeps every path
// as its bytes from the list file to open() and back, and turns it into text
// only to show it. These helpers do both directions.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QUrl;

namespace melvo {

// A path readable on screen: its UTF-8 characters as they are, a replacement
// character for each byte that is not part of one.
QString displayPath(std::string_view bytes);
// The same in UTF-8.
std::string displayText(std::string_view bytes);

// The file:// URL of a path, keeping its bytes, also those that are no UTF-8.
QString fileUrl(std::string_view path);

// A song's title as the media controls show it: the path after its last separator.
QString songTitle(const QString& path);

// The bytes of the file a path from Qt names (a file dialog's choice, a name
// listed by QDir). Qt shows a byte that is not UTF-8 as a replacement
// character, so such a path is matched against the real names, read as bytes,
// of each folder on its way. Nothing when no file, or more than one, matches.
std::optional<std::string> pathFromQString(const QString& path);

// The bytes of the local file a URL names (a drop hands over URLs): the
// percent-encoded bytes of its path, or, when no such file exists,
// pathFromQString of its local path. Nothing for a URL that is no local file.
std::optional<std::string> pathFromUrl(const QUrl& url);

// The path with "." and empty parts left out and each ".." taking away the
// part before it, without asking the file system: "/m/./a//b/../c" is "/m/a/c".
std::string lexicallyNormal(std::string_view path);

// Why a file could not be read, in the user's words where the cause is a
// common one, else the system's own text. 0 stands for a file that is no
// regular file (a folder, a named pipe, a device).
std::string readFailureText(int error);

}  // namespace melvo
