// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The player core's media commands over the engine double.
#include <gtest/gtest.h>

#include "support/PlayerWindow.h"

namespace melvo::test {
namespace {

using MediaCommands = PlayerWindow;

TEST_F(MediaCommands, LengthQueryOpensAndClosesThePath) {
    const std::string path = "/歌/a song, with \"quotes\".mp3";
    addSongs({path}, 215'042);
    EXPECT_DOUBLE_EQ(w->jukebox.transport().songLength(path), 215.042);
    EXPECT_FALSE(h.media.isOpen(path));

    play(0);
    EXPECT_TRUE(h.media.isOpen(path));
    EXPECT_DOUBLE_EQ(w->jukebox.transport().songLength(path), 215.042);
    EXPECT_FALSE(h.media.isOpen(path));  // asking the playing song's length stops it

    EXPECT_DOUBLE_EQ(w->jukebox.transport().songLength("/not/there.mp3"), 0.0);
}

TEST_F(MediaCommands, StatusQueriesAnswerEmptyOnceClosed) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.devices["/m/a.mp3"].positionMs = 1'234;
    EXPECT_DOUBLE_EQ(w->jukebox.transport().position(), 1.234);
    EXPECT_EQ(w->jukebox.transport().mode(), MediaMode::Playing);
    w->jukebox.stop();
    EXPECT_DOUBLE_EQ(w->jukebox.transport().position(), 0.0);
    EXPECT_EQ(w->jukebox.transport().mode(), MediaMode::Closed);
}

TEST_F(MediaCommands, SeekGoesOnFromThatSecondAndPlays) {
    addSongs({"/m/a.mp3"});
    play(0);
    w->jukebox.pause();
    h.media.log.clear();
    w->jukebox.seek(12);
    EXPECT_EQ(h.media.log, (std::vector<std::string>{"seek /m/a.mp3 12000", "play /m/a.mp3"}));
    EXPECT_EQ(w->jukebox.transport().mode(), MediaMode::Playing);
}

TEST_F(MediaCommands, ClosingTakesThePlayingMarkOffAndKeepsThePlayedMark) {
    addSongs({"/m/a.mp3", "/m/b.mp3"});
    play(1);
    EXPECT_EQ(w->songListPanel->rows()->markText(1), "♪♪");
    w->jukebox.stop();
    EXPECT_EQ(w->songListPanel->rows()->markText(1), "");
    EXPECT_EQ(w->songListPanel->rows()->textColour(1), QColor(Qt::black));
    EXPECT_TRUE(w->songListPanel->rows()->isPlayed(1));
    EXPECT_TRUE(w->jukebox.songList().isPlayed(1));
    EXPECT_EQ(w->jukebox.songList().playingEntry(), -1);
    EXPECT_EQ(w->jukebox.songList().lastPlayedEntry(), 1);
}

}  // namespace
}  // namespace melvo::test
