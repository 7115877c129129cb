// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Timed lyrics: lines that begin with time tags ("[mm:ss]", "[mm:ss.xx]" or
// "[mm:ss.xxx]", several in a row when a line is sung more than once), with
// header lines such as "[ti:...]", "[ar:...]" and "[offset:+/-ms]". The rules
// here need no window: reading the tags, the line sung at a position, and the
// tag the editor writes when the user stamps a line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace melvo {

// One time a shown line is sung at.
struct LineTime {
    std::int64_t ms = 0;  // from the song's start, the offset applied
    int line = 0;         // counted from 0 in the shown text
};

struct TimedLyrics {
    // The text to show, every line followed by CR LF: without the tags and
    // header lines when there are times, else exactly the text given.
    std::string text;
    std::vector<LineTime> times;  // ordered by time; lines of equal time in text order
    bool timed() const { return !times.empty(); }
};

// Reads the time tags of lyrics as readLyrics gives them. Lines end at CR LF,
// a lone CR or a lone LF. A time tag is "[" minutes (1 to 3 digits) ":"
// seconds (2 digits, below 60), optionally "." and 1 to 3 digits of a second
// "]"; only the tags at the start of a line count. A line that is only a
// "[name:value]" header (name of letters) is left out of the shown text;
// "[offset:N]" makes every line come N milliseconds earlier. Anything else,
// a malformed tag too, stays text. Lyrics without a single time tag are not
// timed and keep their text unchanged.
TimedLyrics parseTimedLyrics(std::string_view lyrics);

// The shown line sung at the position: the line of the last time at or before
// it; -1 before the first time or for lyrics without times.
int lineAt(const TimedLyrics& lyrics, double seconds);

// The tag the editor writes for a position: "[mm:ss.xx]", hundredths cut off,
// minutes as two digits or more.
std::string timeTag(double seconds);

// The line with its leading time tags replaced by one for the position.
std::string withTimeTag(std::string_view line, double seconds);

}  // namespace melvo
