// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/lyrics/TimedLyrics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "core/common/TextFile.h"

namespace melvo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Reads up to maxDigits digits at *at into *value; answers how many there were.
int readDigits(std::string_view text, size_t* at, int maxDigits, std::int64_t* value) {
    int count = 0;
    *value = 0;
    while (count < maxDigits && *at < text.size() && isDigit(text[*at])) {
        *value = *value * 10 + (text[*at] - '0');
        ++*at;
        ++count;
    }
    return count;
}

// The time tag at *at, in milliseconds, moving *at past it; nothing (and *at
// unchanged) when there is none there.
std::optional<std::int64_t> readTimeTag(std::string_view text, size_t* at) {
    size_t p = *at;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
    std::int64_t fraction = 0;
    if (p >= text.size() || text[p++] != '[') return std::nullopt;
    if (readDigits(text, &p, 3, &minutes) == 0) return std::nullopt;
    if (p >= text.size() || text[p++] != ':') return std::nullopt;
    if (readDigits(text, &p, 2, &seconds) != 2 || seconds >= 60) return std::nullopt;
    int fractionDigits = 0;
    if (p < text.size() && text[p] == '.') {
        ++p;
        fractionDigits = readDigits(text, &p, 3, &fraction);
        if (fractionDigits == 0) return std::nullopt;
    }
    if (p >= text.size() || text[p++] != ']') return std::nullopt;
    for (int i = fractionDigits; i < 3; ++i) fraction *= 10;
    *at = p;
    return (minutes * 60 + seconds) * 1000 + fraction;
}

// The times at the start of the line, moving *at past their tags.
std::vector<std::int64_t> readLeadingTimes(std::string_view line, size_t* at) {
    std::vector<std::int64_t> times;
    while (const std::optional<std::int64_t> ms = readTimeTag(line, at)) times.push_back(*ms);
    return times;
}

struct Header {
    std::string_view name;
    std::string_view value;
};

// The header a line consists of, "[name:value]" with blanks after it allowed.
std::optional<Header> readHeader(std::string_view line) {
    const size_t end = line.find_last_not_of(" \t");
    if (end == std::string_view::npos || line[0] != '[' || line[end] != ']') return std::nullopt;
    size_t colon = 1;
    while (colon < end && isLetter(line[colon])) ++colon;
    if (colon == 1 || colon >= end || line[colon] != ':') return std::nullopt;
    return Header{line.substr(1, colon - 1), line.substr(colon + 1, end - colon - 1)};
}

// The milliseconds of an "[offset:...]" value: a sign, then digits; 0 when malformed.
std::int64_t offsetMs(std::string_view value) {
    size_t at = value.find_first_not_of(' ');
    if (at == std::string_view::npos) return 0;
    const bool negative = value[at] == '-';
    if (value[at] == '+' || value[at] == '-') ++at;
    std::int64_t ms = 0;
    const int digits = readDigits(value, &at, 9, &ms);
    if (digits == 0 || value.find_first_not_of(' ', at) != std::string_view::npos) return 0;
    return negative ? -ms : ms;
}

}  // namespace

TimedLyrics parseTimedLyrics(std::string_view lyrics) {
    TimedLyrics timed;
    std::int64_t offset = 0;
    int shown = 0;
    for (const std::string& line : splitAnyLines(lyrics)) {
        size_t textStart = 0;
        const std::vector<std::int64_t> times = readLeadingTimes(line, &textStart);
        if (times.empty()) {
            if (const std::optional<Header> header = readHeader(line)) {
                if (header->name == "offset") offset = offsetMs(header->value);
                continue;
            }
        }
        for (const std::int64_t ms : times) timed.times.push_back({ms, shown});
        timed.text.append(line, textStart).append("\r\n");
        ++shown;
    }
    if (!timed.timed()) return {std::string(lyrics), {}};
    // A positive offset makes the lines come earlier.
    for (LineTime& time : timed.times) time.ms = std::max<std::int64_t>(0, time.ms - offset);
    std::stable_sort(timed.times.begin(), timed.times.end(),
                     [](const LineTime& a, const LineTime& b) { return a.ms < b.ms; });
    return timed;
}

int lineAt(const TimedLyrics& lyrics, double seconds) {
    const auto ms = static_cast<std::int64_t>(std::floor(seconds * 1000.0 + 0.5));
    const auto after =
        std::upper_bound(lyrics.times.begin(), lyrics.times.end(), ms,
                         [](std::int64_t value, const LineTime& time) { return value < time.ms; });
    return after == lyrics.times.begin() ? -1 : std::prev(after)->line;
}

std::string timeTag(double seconds) {
    const auto hundredths =
        static_cast<long long>(std::max(0.0, std::floor(seconds * 100.0 + 1e-6)));
    char tag[32];
    std::snprintf(tag, sizeof tag, "[%02lld:%02lld.%02lld]", hundredths / 6000,
                  hundredths / 100 % 60, hundredths % 100);
    return tag;
}

std::string withTimeTag(std::string_view line, double seconds) {
    size_t textStart = 0;
    readLeadingTimes(line, &textStart);
    return timeTag(seconds).append(line.substr(textStart));
}

}  // namespace melvo
