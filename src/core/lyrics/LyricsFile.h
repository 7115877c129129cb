// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Lyrics files: a text file beside each song, named after the song with its
// ".mp3" replaced by ".txt". The rules here need no window: the name rule,
// reading a lyrics file into the text the windows show, the lyrics window's
// title, and storing new lyrics through a temporary ".TMP" file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/common/TextFile.h"

namespace melvo {

// The song path up to its first ".mp3" (or, when that is missing or starts the
// path, its first ".MP3"); the search is case-sensitive and runs over the whole
// path, folders included. Refused (nothing) when neither is found or the match
// starts within the first two characters of the path.
std::optional<std::string> lyricsStem(const std::string& songPath);

// The lyrics file of a song: its stem followed by ".txt" (or the extension
// given: ".lrc" for a timed lyrics file); nothing when the name rule refuses
// the path.
std::optional<std::string> lyricsFileFor(const std::string& songPath,
                                         const char* extension = ".txt");

// Lyrics files larger than this are shown only in part and never edited.
inline constexpr size_t kMaxLyricsBytes = size_t{1} << 20;
// The same for lyrics of more lines than this (at any line end), or with a
// line longer than this, far more than a song has: a text box costs a few
// hundred bytes for each line, and the time to lay out a line that has no
// place to wrap grows with the square of its length.
inline constexpr size_t kMaxLyricsLines = 5000;
inline constexpr size_t kMaxLyricsLineBytes = 4096;

// The line that stands for the part of an over-long lyrics file left out.
inline constexpr const char* kLyricsLeftOutLine = "（以下、歌詞が長すぎるため省略しました）";

// The message (UTF-8) the editor shows, followed by the lyrics file's path,
// when it refuses an over-long lyrics file.
inline constexpr const char* kLyricsTooLongToEdit =
    "歌詞データが長すぎるため編集できません（1 MB、5000 行、1 行 4 KB まで）　";

struct Lyrics {
    std::string text;  // as the windows show it
    bool cut = false;  // past kMaxLyricsBytes, kMaxLyricsLines or kMaxLyricsLineBytes
};

// The lyrics file's text as the windows show it, decoded as textFileToUtf8
// does: every line followed by CR LF. Lines end at CR LF or a lone CR; a lone
// LF belongs to its line. Of a file larger than kMaxLyricsBytes only the whole
// lines of its first kMaxLyricsBytes are read, and of what is read only what
// cutToLyricsLines leaves is shown; when anything was left out,
// kLyricsLeftOutLine follows and the lyrics are cut. Nothing when the file is
// missing, unreadable or no regular file (a named pipe is never waited on).
std::optional<Lyrics> readLyrics(const std::string& lyricsPath);

// Cuts text (UTF-8) after its first kMaxLyricsLines lines, counted at any line
// end, or within the first line longer than kMaxLyricsLineBytes, after its
// last whole character within that bound; true when that left something out.
bool cutToLyricsLines(std::string* text);

// The title shown for a song: its file name (after the last "/"), then what
// follows the first "-" when there is one. The extension stays.
std::string lyricsTitleFor(const std::string& songPath);

// The text with every line end (CR LF, lone CR or lone LF) made CR LF.
std::string withCrLfLineEnds(std::string_view text);

// The text with every CR LF and lone CR made LF, for a text box.
std::string withLfLineEnds(std::string_view text);

// Stores text as target & ".txt": writes it, line ends made CR LF and one more
// CR LF after it, in UTF-8 to a new target & ".TMP" (a leftover one of this
// user's is removed first), flushes it, and renames it over the old lyrics
// file, so a crash leaves either the old or the new lyrics. Where something
// else stands at the ".TMP" name (another user's file, a link, a folder), it
// is left alone and a fresh name is written instead (see replaceFile). When
// target & ".txt" is a symbolic link, the file it leads to is replaced
// (through that file's name with its ".txt" made ".TMP") and the link stays.
// On failure the temporary file is removed and the old lyrics file is
// untouched; the result names the step that failed.
FileReplacement saveLyrics(const std::string& target, std::string_view text);

}  // namespace melvo
