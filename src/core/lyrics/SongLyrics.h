// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Where a song's lyrics come from: its lyrics file, else a timed lyrics file
// (".lrc") beside it, else the unsynchronised lyrics (USLT) of the song's own
// tag, as the tag reader reads them.
#pragma once

#include <optional>
#include <string>

#include "core/lyrics/LyricsFile.h"
#include "core/tags/TagReader.h"

namespace melvo {

// The song's tag's lyrics (readTagLyrics) as the windows show lyrics:
// every line (ending at CR LF, a lone CR or a lone LF) followed by CR LF; of
// lyrics longer than kMaxLyricsBytes only their first whole lines, and of
// those what cutToLyricsLines leaves, followed by kLyricsLeftOutLine when
// something was left out. Nothing when the song is no regular file (a named
// pipe is never waited on), cannot be read, its tag is larger than 16 MiB,
// or the tag carries no lyrics.
std::optional<Lyrics> readEmbeddedLyrics(const std::string& songPath,
                                         TagEncoding encoding = TagEncoding::Automatic);

enum class LyricsSource { TextFile, LrcFile, Song };

struct SongLyrics {
    Lyrics lyrics;
    LyricsSource source = LyricsSource::TextFile;
};

// The song's lyrics from the first source that has them: its lyrics file, its
// ".lrc" file (lyricsFileFor), its own tag. Nothing when none has or the name
// rule refuses the path.
std::optional<SongLyrics> readSongLyrics(const std::string& songPath,
                                         TagEncoding encoding = TagEncoding::Automatic);

// Where the lyrics of that source come from: the file's path, or the song's.
std::string lyricsSourcePath(const std::string& songPath, LyricsSource source);

}  // namespace melvo
