// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The artist and album an MP3 file's ID3 tag names, for the desktop's
// controls. Read once per song started, never while it plays.
#pragma once

#include <mpg123.h>

#include <functional>
#include <string>

namespace melvo {

// UTF-8 text; empty where the tag has no such field or the file has no tag.
struct SongTags {
    std::string artist;
    std::string album;
};

// Reads the ID3v2 tag at the start of the file, else the ID3v1 tag at its end
// (whose text is UTF-8 or, in older Japanese files, Shift-JIS). Only a regular
// file is read: anything else (a named pipe, a missing file) has no tags.
SongTags readSongTags(const std::string& path);

// Reads the ID3 tags of the MP3 file at path through libmpg123 and hands them
// to use (either may be null). Only a regular file is read, and not when its
// ID3v2 tag is larger than 16 MiB (pictures, mostly), which libmpg123 would
// read whole while the window waits. False when nothing could be read.
bool readId3Tags(const std::string& path,
                 const std::function<void(const mpg123_id3v1*, const mpg123_id3v2*)>& use);

}  // namespace melvo
