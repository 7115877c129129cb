// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Which song automatic play takes next, from the played marks of the current
// cycle: every song once per cycle, in list order or drawn at random.
#pragma once

#include <random>
#include <vector>

namespace melvo {

struct NextSong {
    int index = 0;              // the song's position in the list, from 0; -1 when no song
                                // can be played
    bool clearedMarks = false;  // every song had played: a new cycle starts, all marks cleared
};

// The next song for a list whose songs carry the given played marks (at least
// one song). When every song is marked the cycle is complete: the marks are
// cleared and a new cycle starts. List order takes the first unmarked song from
// the top; random order draws uniformly among the unmarked songs. lastSong,
// the song that played last (-1 for none), is not drawn first in a new random
// cycle of more than one song, so no song is heard twice in a row.
// Songs marked in unavailable (shorter than played: the rest are available)
// are passed over and count as played for the end of a cycle; when every song
// is unavailable, no song is chosen and the marks stay.
NextSong chooseNextSong(std::vector<bool>& played, bool randomOrder, int lastSong,
                        std::mt19937& generator, const std::vector<bool>& unavailable = {});

// A uniform draw among the unmarked available songs other than excluded (-1
// for none). Needs at least one such song.
int pickRandomUnplayedSong(const std::vector<bool>& played, int excluded, std::mt19937& generator,
                           const std::vector<bool>& unavailable = {});

}  // namespace melvo
