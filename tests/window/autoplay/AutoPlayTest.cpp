// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <set>

#include "support/WindowHarness.h"
#include "window/library/SongListModel.h"

namespace melvo {
namespace {

using test::timer;
using test::WindowHarness;

// A window over three existing songs, started in the given mode.
class AutoPlay : public ::testing::Test {
  protected:
    MainWindow& start(const std::string& autoSetting) {
        std::string list;
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            harness.writeFile(name, "mp3");
            songs.push_back(harness.path(name));
            list += harness.path(name) + "\r\n";
        }
        harness.writeFile("mvMP3.csv", list);
        harness.setSetting("AUTO", autoSetting);
        return harness.start();
    }
    // The songs started so far, by their index in the list.
    std::vector<int> started() const {
        std::vector<int> indexes;
        for (const std::string& line : harness.media.log) {
            for (size_t i = 0; i < songs.size(); ++i) {
                if (line == "play " + songs[i]) indexes.push_back(static_cast<int>(i));
            }
        }
        return indexes;
    }
    // Lets the playing song end and gives the supervisor its next tick.
    void endSongAndTick() {
        harness.media.finish(harness.window().jukebox.songList().chosenPath());
        harness.window().jukebox.superviseAutoPlay();
    }

    WindowHarness harness;
    std::vector<std::string> songs;
};

TEST_F(AutoPlay, StartUpInAutomaticModePlaysTheListInOrderCycleAfterCycle) {
    MainWindow& window = start("1");
    EXPECT_TRUE(timer(window.jukebox, "autoPlayTimer")->isActive());
    EXPECT_TRUE(window.autoPlayMenuItem->isChecked());
    window.jukebox.superviseAutoPlay();
    for (int i = 0; i < 5; ++i) endSongAndTick();
    EXPECT_EQ(started(), (std::vector<int>{0, 1, 2, 0, 1, 2}));
}

TEST_F(AutoPlay, RandomOrderPlaysEachSongOncePerCycle) {
    MainWindow& window = start("1");
    window.randomOrderBox->setChecked(true);
    window.jukebox.superviseAutoPlay();
    for (int i = 0; i < 11; ++i) endSongAndTick();
    const std::vector<int> order = started();
    ASSERT_EQ(order.size(), 12u);
    for (size_t cycle = 0; cycle < order.size(); cycle += 3) {
        EXPECT_EQ(std::set<int>(order.begin() + cycle, order.begin() + cycle + 3).size(), 3u);
    }
}

TEST_F(AutoPlay, PausedSongIsNeverReplaced) {
    MainWindow& window = start("1");
    window.jukebox.superviseAutoPlay();
    window.jukebox.pause();
    window.jukebox.superviseAutoPlay();
    window.jukebox.superviseAutoPlay();
    EXPECT_EQ(started(), std::vector<int>{0});
    harness.media.resume(window.jukebox.songList().chosenPath());
    endSongAndTick();
    EXPECT_EQ(started(), (std::vector<int>{0, 1}));
}

TEST_F(AutoPlay, ManualMenuLetsTheSongEndAndStartsNothingMore) {
    MainWindow& window = start("1");
    window.jukebox.superviseAutoPlay();
    window.manualPlayMenuItem->trigger();
    EXPECT_EQ(harness.setting("AUTO"), "0");
    EXPECT_TRUE(window.manualPlayMenuItem->isChecked());
    endSongAndTick();
    EXPECT_EQ(started(), std::vector<int>{0});
    window.autoPlayMenuItem->trigger();
    EXPECT_EQ(harness.setting("AUTO"), "1");
    window.jukebox.superviseAutoPlay();
    EXPECT_EQ(started(), (std::vector<int>{0, 1}));
}

TEST_F(AutoPlay, AutomaticButtonRestartsFromTheFirstUnplayedSong) {
    MainWindow& window = start("0");
    EXPECT_FALSE(timer(window.jukebox, "autoPlayTimer")->isActive());
    window.autoPlayButton->click();
    EXPECT_TRUE(window.jukebox.autoPlay().isOn());
    EXPECT_TRUE(timer(window.jukebox, "autoPlayTimer")->isActive());
    EXPECT_FALSE(window.playButton->isEnabled());
    EXPECT_EQ(MainWindow::backColour(window.autoPlayButton), ButtonColour::Highlight);
    EXPECT_EQ(harness.setting("AUTO"), "0") << "the button does not store the mode";
    window.jukebox.superviseAutoPlay();
    endSongAndTick();
    window.autoPlayButton->click();
    window.jukebox.superviseAutoPlay();
    EXPECT_EQ(started(), (std::vector<int>{0, 1, 2}));
}

TEST_F(AutoPlay, NextAndPreviousWrapAroundTheList) {
    MainWindow& window = start("0");
    window.jukebox.chooseEntry(2);
    window.jukebox.next();
    EXPECT_EQ(window.jukebox.songList().entries().current(), 0);
    EXPECT_EQ(window.jukebox.songList().chosenPath(), songs[0]);
    EXPECT_EQ(MainWindow::backColour(window.nextSongButton), ButtonColour::Highlight)
        << "lit for a second";
    window.jukebox.previous();
    EXPECT_EQ(window.jukebox.songList().entries().current(), 2);
    window.jukebox.chooseEntry(-1);  // as after a deletion
    window.jukebox.previous();
    EXPECT_EQ(window.jukebox.songList().entries().current(), 2);
    EXPECT_EQ(started(), (std::vector<int>{0, 2, 2}));
}

TEST(EmptyListNotice, IsShownOnceAboutASecondAfterStartUp) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_EQ(window.jukebox.noSongsNoticeDue(), true);
    window.jukebox.tellNoSongsIfDue();
    window.jukebox.tellNoSongsIfDue();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0], "音楽登録が一曲もされていませんので登録してください");
    EXPECT_FALSE(timer(window.jukebox, "noSongsNoticeTimer")->isActive());
}

TEST(EmptyListNotice, IsNotShownWhenTheListFileNamedOnlyMissingSongs) {
    WindowHarness harness;
    harness.writeFile("mvMP3.csv", harness.path("gone.mp3") + "\r\n");
    MainWindow& window = harness.start();
    window.jukebox.tellNoSongsIfDue();
    EXPECT_EQ(harness.dialogs.messages.size(), 1u) << "only the missing-song message";
}

}  // namespace
}  // namespace melvo
