#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <set>

#include "library/SongListModel.h"
#include "support/WindowHarness.h"

namespace melvo {
namespace {

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
        harness.media.finish(harness.window().currentSongPath);
        harness.window().onAutoPlayTimerTick();
    }

    WindowHarness harness;
    std::vector<std::string> songs;
};

TEST_F(AutoPlay, StartUpInAutomaticModePlaysTheListInOrderCycleAfterCycle) {
    MainWindow& window = start("1");
    EXPECT_TRUE(window.autoPlayTimer->isActive());
    EXPECT_TRUE(window.autoPlayMenuItem->isChecked());
    window.onAutoPlayTimerTick();
    for (int i = 0; i < 5; ++i) endSongAndTick();
    EXPECT_EQ(started(), (std::vector<int>{0, 1, 2, 0, 1, 2}));
}

TEST_F(AutoPlay, RandomOrderPlaysEachSongOncePerCycle) {
    MainWindow& window = start("1");
    window.randomOrderBox->setChecked(true);
    window.onAutoPlayTimerTick();
    for (int i = 0; i < 11; ++i) endSongAndTick();
    const std::vector<int> order = started();
    ASSERT_EQ(order.size(), 12u);
    for (size_t cycle = 0; cycle < order.size(); cycle += 3) {
        EXPECT_EQ(std::set<int>(order.begin() + cycle, order.begin() + cycle + 3).size(), 3u);
    }
}

TEST_F(AutoPlay, PausedSongIsNeverReplaced) {
    MainWindow& window = start("1");
    window.onAutoPlayTimerTick();
    window.onPauseButtonClicked();
    window.onAutoPlayTimerTick();
    window.onAutoPlayTimerTick();
    EXPECT_EQ(started(), std::vector<int>{0});
    window.isPaused = 1;
    harness.media.resume(window.currentSongPath);
    endSongAndTick();
    EXPECT_EQ(started(), (std::vector<int>{0, 1}));
}

TEST_F(AutoPlay, ManualMenuLetsTheSongEndAndStartsNothingMore) {
    MainWindow& window = start("1");
    window.onAutoPlayTimerTick();
    window.manualPlayMenuItem->trigger();
    EXPECT_EQ(harness.setting("AUTO"), "0");
    EXPECT_TRUE(window.manualPlayMenuItem->isChecked());
    endSongAndTick();
    EXPECT_EQ(started(), std::vector<int>{0});
    window.autoPlayMenuItem->trigger();
    EXPECT_EQ(harness.setting("AUTO"), "1");
    window.onAutoPlayTimerTick();
    EXPECT_EQ(started(), (std::vector<int>{0, 1}));
}

TEST_F(AutoPlay, AutomaticButtonRestartsFromTheFirstUnplayedSong) {
    MainWindow& window = start("0");
    EXPECT_FALSE(window.autoPlayTimer->isActive());
    window.autoPlayButton->click();
    EXPECT_EQ(window.autoPlayMode, "1");
    EXPECT_TRUE(window.autoPlayTimer->isActive());
    EXPECT_FALSE(window.playButton->isEnabled());
    EXPECT_EQ(MainWindow::backColour(window.autoPlayButton), ButtonColour::Highlight);
    EXPECT_EQ(harness.setting("AUTO"), "0") << "the button does not store the mode";
    window.onAutoPlayTimerTick();
    endSongAndTick();
    window.autoPlayButton->click();
    window.onAutoPlayTimerTick();
    EXPECT_EQ(started(), (std::vector<int>{0, 1, 2}));
}

TEST_F(AutoPlay, NextAndPreviousWrapAroundTheList) {
    MainWindow& window = start("0");
    window.songEntries.setCurrent(2);
    window.onNextSongButtonClicked();
    EXPECT_EQ(window.songEntries.current(), 0);
    EXPECT_EQ(window.currentSongPath, songs[0]);
    EXPECT_EQ(MainWindow::backColour(window.nextSongButton), ButtonColour::Normal);
    window.onPreviousSongButtonClicked();
    EXPECT_EQ(window.songEntries.current(), 2);
    window.songEntries.setCurrent(-1);  // as after a deletion
    window.onPreviousSongButtonClicked();
    EXPECT_EQ(window.songEntries.current(), 2);
    EXPECT_EQ(started(), (std::vector<int>{0, 2, 2}));
}

TEST(EmptyListNotice, IsShownOnceAboutASecondAfterStartUp) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_EQ(window.noSongsNotice, 1);
    window.onNoSongsNoticeTimerTick();
    window.onNoSongsNoticeTimerTick();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0], "音楽登録が一曲もされていませんので登録してください");
    EXPECT_FALSE(window.noSongsNoticeTimer->isActive());
}

TEST(EmptyListNotice, IsNotShownWhenTheListFileNamedOnlyMissingSongs) {
    WindowHarness harness;
    harness.writeFile("mvMP3.csv", "/nowhere/gone.mp3\r\n");
    MainWindow& window = harness.start();
    window.onNoSongsNoticeTimerTick();
    EXPECT_EQ(harness.dialogs.messages.size(), 1u) << "only the missing-song message";
}

}  // namespace
}  // namespace melvo
