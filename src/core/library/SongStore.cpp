// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/SongStore.h"

namespace melvo {

void SongStore::remove(int index) {
    entries_.erase(entries_.begin() + index);
    current_ = -1;
}

bool isVolumeText(std::string_view text) {
    size_t i = 0;
    const auto skip = [&](auto accept) {
        const size_t start = i;
        while (i < text.size() && accept(text[i])) ++i;
        return i > start;
    };
    const auto blank = [](char c) { return c == ' '; };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    skip(blank);
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (skip(digit) && i < text.size() && text[i] == '.') {
        ++i;
        skip(digit);
    }
    skip(blank);
    return i == text.size();
}

bool entryHasVolume(std::string_view entry) {
    const size_t comma = entry.rfind(',');
    return comma != std::string_view::npos && isVolumeText(entry.substr(comma + 1));
}

std::string_view entryPath(std::string_view entry) {
    return entryHasVolume(entry) ? entry.substr(0, entry.rfind(',')) : entry;
}

std::string_view entryVolumeText(std::string_view entry) {
    return entryHasVolume(entry) ? entry.substr(entry.rfind(',') + 1) : std::string_view();
}

}  // namespace melvo
