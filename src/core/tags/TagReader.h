// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The one reader of songs' tags, for the list, the media controls and the
// lyrics. An MP3 file's ID3v2 tag (versions 2.2 to 2.4) comes first, then its
// APE tag, then its ID3v1 tag: each field from the first that has it, unless
// that one reads as misdecoded and a later one reads better. Other formats
// give the fields of their own tags. Texts whose character set a tag does not
// name are decoded by the rule of TagText.h, decided once per tag, unless the
// user forces one character set for them.
//
// Only a regular file is read, opened without ever waiting on a named pipe.
// No single read of a file takes more than 16 MiB: a tag larger than that
// (a huge picture, a size that lies) is left unread, as if the file had none.
#pragma once

#include <optional>
#include <string>

#include "core/tags/SongInfo.h"

namespace melvo {

// How the texts that a tag holds without naming their character set are read.
enum class TagEncoding { Automatic, ShiftJis, Latin1 };

// Reads the tags and audio properties of the song at path (only a regular file; bounded; never
// throws); nothing when it has none or cannot be read. A song with audio but no tag gives its
// length alone.
std::optional<SongInfo> readSongInfo(const std::string& path, TagEncoding encoding);

// The UTF-8 text of the song's first unsynchronised lyrics (an ID3v2 USLT
// frame, or the lyrics field of other tags), as the tag holds it; nothing
// when it has none or the song cannot be read.
std::optional<std::string> readTagLyrics(const std::string& path, TagEncoding encoding);

// A picture carried in a song's tag.
struct EmbeddedPicture {
    std::string mimeType;  // as the tag names it, e.g. "image/jpeg"; may be empty
    std::string bytes;
};

// The song's front cover picture, else its first picture (ID3v2 APIC frames,
// FLAC pictures); at most 16 MiB. Nothing when it has none.
std::optional<EmbeddedPicture> readEmbeddedPicture(const std::string& path);

}  // namespace melvo
