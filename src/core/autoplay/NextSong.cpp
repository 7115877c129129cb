// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/autoplay/NextSong.h"

#include <algorithm>

namespace melvo {

namespace {

bool isUnavailable(const std::vector<bool>& unavailable, size_t song) {
    return song < unavailable.size() && unavailable[song];
}

}  // namespace

NextSong chooseNextSong(std::vector<bool>& played, bool randomOrder, int lastSong,
                        std::mt19937& generator, const std::vector<bool>& unavailable) {
    NextSong next;
    size_t available = 0;
    bool cycleDone = true;
    for (size_t i = 0; i < played.size(); ++i) {
        if (isUnavailable(unavailable, i)) continue;
        ++available;
        cycleDone = cycleDone && played[i];
    }
    if (available == 0) {
        next.index = -1;
        return next;
    }
    if (cycleDone) {
        std::fill(played.begin(), played.end(), false);
        next.clearedMarks = true;
    }
    if (randomOrder) {
        const bool avoidRepeat = next.clearedMarks && available > 1;
        next.index =
            pickRandomUnplayedSong(played, avoidRepeat ? lastSong : -1, generator, unavailable);
    } else {
        size_t first = 0;
        while (played[first] || isUnavailable(unavailable, first)) ++first;
        next.index = static_cast<int>(first);
    }
    return next;
}

int pickRandomUnplayedSong(const std::vector<bool>& played, int excluded, std::mt19937& generator,
                           const std::vector<bool>& unavailable) {
    std::vector<int> candidates;
    for (int i = 0; i < static_cast<int>(played.size()); ++i) {
        if (!played[i] && i != excluded && !isUnavailable(unavailable, static_cast<size_t>(i)))
            candidates.push_back(i);
    }
    if (candidates.empty()) return 0;
    std::uniform_int_distribution<size_t> draw(0, candidates.size() - 1);
    return candidates[draw(generator)];
}

}  // namespace melvo
