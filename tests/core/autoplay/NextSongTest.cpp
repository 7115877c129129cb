// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "core/autoplay/NextSong.h"

namespace melvo {
namespace {

using Marks = std::vector<bool>;

TEST(NextSong, ListOrderTakesTheFirstUnplayedSongFromTheTop) {
    std::mt19937 generator(1);
    Marks marks{false, true, true};
    EXPECT_EQ(chooseNextSong(marks, false, 2, generator).index, 0);
    marks = {true, false, true};
    EXPECT_EQ(chooseNextSong(marks, false, 0, generator).index, 1);
    marks = {true, true, true};
    const NextSong next = chooseNextSong(marks, false, 2, generator);
    EXPECT_EQ(next.index, 0);
    EXPECT_TRUE(next.clearedMarks);
    EXPECT_EQ(marks, (Marks{false, false, false}));
}

TEST(NextSong, RandomOrderNeverTakesAPlayedSong) {
    std::mt19937 generator(7);
    for (int i = 0; i < 200; ++i) {
        Marks marks{true, true, false};
        EXPECT_EQ(chooseNextSong(marks, true, 0, generator).index, 2);
    }
    Marks single{true};
    EXPECT_EQ(chooseNextSong(single, true, 0, generator).index, 0) << "one song plays again";
}

TEST(NextSong, UnavailableSongsArePassedOverAndNeverEndACycle) {
    const struct {
        Marks played, unavailable;
        bool randomOrder;
        int index;
    } cases[] = {
        {{false, false, false}, {true, false, false}, false, 1},
        {{true, true, false}, {false, false, true}, true, 0},  // a new cycle, not song 1 again
        {{false, true}, {true, true}, false, -1},
    };
    std::mt19937 generator(3);
    for (const auto& c : cases) {
        Marks marks = c.played;
        EXPECT_EQ(chooseNextSong(marks, c.randomOrder, 1, generator, c.unavailable).index, c.index);
    }
}

// Plays `cycles` full cycles as automatic play does: choose, then mark.
std::vector<int> playCycles(int songs, int cycles, bool randomOrder, std::mt19937& generator) {
    Marks marks(songs, false);
    std::vector<int> order;
    int last = -1;
    for (int start = 0; start < songs * cycles; ++start) {
        last = chooseNextSong(marks, randomOrder, last, generator).index;
        marks[last] = true;
        order.push_back(last);
    }
    return order;
}

TEST(NextSong, EverySongPlaysOncePerCycleAndNeverTwiceInARow) {
    for (bool randomOrder : {false, true}) {
        std::mt19937 generator(42);
        const int songs = 5;
        const std::vector<int> order = playCycles(songs, 40, randomOrder, generator);
        for (size_t cycle = 0; cycle < order.size(); cycle += songs) {
            const std::set<int> distinct(order.begin() + cycle, order.begin() + cycle + songs);
            EXPECT_EQ(distinct.size(), static_cast<size_t>(songs)) << "cycle from " << cycle;
        }
        for (size_t i = 1; i < order.size(); ++i) {
            EXPECT_NE(order[i], order[i - 1]) << "song repeated at start " << i;
        }
    }
}

TEST(NextSong, RandomDrawIsUniformAmongUnplayedSongs) {
    std::mt19937 generator(2024);
    const int songs = 4;
    const int draws = 40000;
    std::map<int, int> firstOfCycle;
    for (int i = 0; i < draws; ++i) {
        Marks marks(songs, false);
        ++firstOfCycle[chooseNextSong(marks, true, -1, generator).index];
    }
    for (int song = 0; song < songs; ++song) {
        // Expected 10000 each; 5 standard deviations is about 430.
        EXPECT_NEAR(firstOfCycle[song], draws / songs, 450) << "song " << song;
    }
}

TEST(NextSong, NewRandomCycleAvoidsOnlyTheSongThatJustEnded) {
    std::mt19937 generator(5);
    std::map<int, int> counts;
    for (int i = 0; i < 30000; ++i) {
        Marks marks(3, true);
        ++counts[chooseNextSong(marks, true, 1, generator).index];
    }
    EXPECT_EQ(counts[1], 0);
    EXPECT_NEAR(counts[0], 15000, 500);
    EXPECT_NEAR(counts[2], 15000, 500);
}

}  // namespace
}  // namespace melvo
