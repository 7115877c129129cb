// Lyrics files: a text file beside each song, named after the song with its
// ".mp3" replaced by ".txt". The rules here need no window: the name rule,
// reading a lyrics file into the text the windows show, the lyrics window's
// title, and storing new lyrics through a temporary ".TMP" file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/TextFile.h"

namespace melvo {

// The song path up to its first ".mp3" (or, when that is missing or starts the
// path, its first ".MP3"); the search is case-sensitive and runs over the whole
// path, folders included. Refused (nothing) when neither is found or the match
// starts within the first two characters of the path.
std::optional<std::string> lyricsStem(const std::string& songPath);

// The lyrics file of a song: its stem followed by ".txt"; nothing when the
// name rule refuses the path.
std::optional<std::string> lyricsFileFor(const std::string& songPath);

// The lyrics file's text as the windows show it: every line followed by CR LF.
// Lines end at CR LF or a lone CR; a lone LF belongs to its line. Nothing when
// the file is missing or unreadable.
std::optional<std::string> readLyricsText(const std::string& lyricsPath);

// The title shown for a song: its file name (after the last "/"), then what
// follows the first "-" when there is one. The extension stays.
std::string lyricsTitleFor(const std::string& songPath);

// The text with every line end (CR LF, lone CR or lone LF) made CR LF.
std::string withCrLfLineEnds(std::string_view text);

// The text with every CR LF and lone CR made LF, for a text box.
std::string withLfLineEnds(std::string_view text);

// Stores text as target & ".txt": writes it, line ends made CR LF and one more
// CR LF after it, in UTF-8 to target & ".TMP" (a leftover one is removed
// first), flushes it, and renames it over the old lyrics file, so a crash
// leaves either the old or the new lyrics. On failure the ".TMP" is removed
// and the old lyrics file is untouched; the result names the step that failed.
FileReplacement saveLyrics(const std::string& target, std::string_view text);

}  // namespace melvo
