// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/autoplay/NextSong.h"

#include <algorithm>

namespace melvo {

NextSong chooseNextSong(std::vector<bool>& played, bool randomOrder, int lastSong,
                        std::mt19937& generator) {
    NextSong next;
    if (std::all_of(played.begin(), played.end(), [](bool mark) { return mark; })) {
        std::fill(played.begin(), played.end(), false);
        next.clearedMarks = true;
    }
    if (randomOrder) {
        const bool avoidRepeat = next.clearedMarks && played.size() > 1;
        next.index = pickRandomUnplayedSong(played, avoidRepeat ? lastSong : -1, generator);
    } else {
        next.index =
            static_cast<int>(std::find(played.begin(), played.end(), false) - played.begin());
    }
    return next;
}

int pickRandomUnplayedSong(const std::vector<bool>& played, int excluded, std::mt19937& generator) {
    std::vector<int> candidates;
    for (int i = 0; i < static_cast<int>(played.size()); ++i) {
        if (!played[i] && i != excluded) candidates.push_back(i);
    }
    if (candidates.empty()) return 0;
    std::uniform_int_distribution<size_t> draw(0, candidates.size() - 1);
    return candidates[draw(generator)];
}

}  // namespace melvo
