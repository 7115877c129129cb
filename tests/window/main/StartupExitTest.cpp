// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <csignal>

#include "desktop/session/ExitSignals.h"
#include "support/WindowHarness.h"
#include "window/volume/VolumeWindow.h"

namespace melvo {
namespace {

using test::timer;
using test::WindowHarness;

TEST(Startup, NoSettingsFileGivesTheDefaultsAndWritesNothing) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_EQ(window.lyricsPanel->lyricsDisplaySetting, "0");
    EXPECT_EQ(window.lyricsPanel->lyricsDisplay, 0);
    EXPECT_TRUE(window.hideLyricsMenuItem->isChecked());
    EXPECT_FALSE(window.showLyricsMenuItem->isChecked());
    EXPECT_FALSE(window.jukebox.autoPlay().isOn());
    EXPECT_FALSE(window.randomOrderBox->isChecked());
    EXPECT_EQ(window.jukebox.volume().initialVolume(), 6553);
    EXPECT_FALSE(harness.exists("mvMP3.ini"));
}

TEST(Startup, SettingsSwitchMenusBoxAndSliders) {
    WindowHarness harness;
    harness.writeFile("mvMP3.ini", "[MUSIC]\r\nKASI_DISPLAY=2\r\nRANDAM=\r\nvol= 3000\r\n");
    MainWindow& window = harness.start();
    EXPECT_EQ(window.lyricsPanel->lyricsDisplay, 1) << "any number but 0 shows lyrics";
    EXPECT_TRUE(window.showLyricsMenuItem->isChecked());
    EXPECT_FALSE(window.hideLyricsMenuItem->isChecked());
    EXPECT_TRUE(window.randomOrderBox->isChecked()) << "an empty RANDAM is not \"0\"";
    EXPECT_EQ(window.volumeSlider->value(), 3000);
    EXPECT_EQ(window.volumePanel->ensureVolumeWindow()->initialVolumeSlider->value(), 3000);
}

TEST(Startup, KasiDisplayBeyondSixteenBitsStillShowsLyrics) {
    WindowHarness harness;
    harness.writeFile("mvMP3.ini", "[MUSIC]\r\nKASI_DISPLAY=65536\r\n");
    EXPECT_EQ(harness.start().lyricsPanel->lyricsDisplay, 1);
}

TEST(Startup, EmptyListLeavesOnlyAddEnabledEvenInAutomaticMode) {
    WindowHarness harness;
    harness.setSetting("AUTO", "1");
    MainWindow& window = harness.start();
    EXPECT_TRUE(window.addSongButton->isEnabled());
    for (QPushButton* button : {window.playButton, window.pauseButton, window.resumeButton,
                                window.stopButton, window.deleteSongButton, window.autoPlayButton,
                                window.nextSongButton, window.previousSongButton}) {
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_FALSE(timer(window.jukebox, "autoPlayTimer")->isActive());
    EXPECT_TRUE(timer(window.jukebox, "noSongsNoticeTimer")->isActive());
    EXPECT_FALSE(window.autoPlayMenuItem->isChecked());
    EXPECT_FALSE(window.manualPlayMenuItem->isChecked());
}

// Start-up with two existing songs, in the given mode.
MainWindow& startWithSongs(WindowHarness& harness, const char* autoSetting) {
    harness.writeFile("a.mp3", "mp3");
    harness.writeFile("b.mp3", "mp3");
    harness.writeFile("mvMP3.csv", harness.path("a.mp3") + "\r\n" + harness.path("b.mp3") + "\r\n");
    harness.setSetting("AUTO", autoSetting);
    return harness.start();
}

TEST(Startup, AutomaticModeWithSongsArmsAutomaticPlay) {
    WindowHarness harness;
    MainWindow& window = startWithSongs(harness, "1");
    EXPECT_EQ(MainWindow::backColour(window.autoPlayButton), ButtonColour::Highlight);
    EXPECT_TRUE(window.stopButton->isEnabled());
    for (QPushButton* button : {window.playButton, window.pauseButton, window.resumeButton,
                                window.addSongButton, window.deleteSongButton}) {
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_TRUE(window.autoPlayMenuItem->isChecked());
    EXPECT_FALSE(window.manualPlayMenuItem->isChecked());
    EXPECT_TRUE(timer(window.jukebox, "autoPlayTimer")->isActive());
    EXPECT_EQ(window.jukebox.songList().entries().current(), 0);
    EXPECT_EQ(window.jukebox.noSongsNoticeDue(), false);
}

TEST(Startup, ManualModeWithSongsLeavesEveryButtonReady) {
    WindowHarness harness;
    MainWindow& window = startWithSongs(harness, "abc");  // no number: manual play
    for (QPushButton* button : {window.playButton, window.pauseButton, window.resumeButton,
                                window.stopButton, window.addSongButton, window.deleteSongButton}) {
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_EQ(MainWindow::backColour(window.autoPlayButton), ButtonColour::Normal);
    EXPECT_TRUE(window.manualPlayMenuItem->isChecked());
    EXPECT_FALSE(timer(window.jukebox, "autoPlayTimer")->isActive());
    EXPECT_EQ(window.jukebox.songList().entries().current(), 0);
}

TEST(Startup, WindowCarriesItsNamesAndTimers) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_EQ(window.objectName(), "melvoMain");
    EXPECT_EQ(window.windowTitle(), "Melvo v1.04");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(timer(window.jukebox, "positionTimer")->interval(), 100);
    EXPECT_FALSE(timer(window.jukebox, "positionTimer")->isActive());
    EXPECT_EQ(timer(window.jukebox, "autoPlayTimer")->interval(), 1000);
    EXPECT_EQ(timer(window.jukebox, "noSongsNoticeTimer")->interval(), 1000);
}

TEST(Exit, ExitButtonStoresRandomChoiceAndEndsOnce) {
    WindowHarness harness;
    harness.setSetting("RANDAM", "0");
    MainWindow& window = harness.start();
    window.randomOrderBox->setChecked(true);
    window.exitButton->click();
    EXPECT_EQ(harness.setting("RANDAM"), "1");
    EXPECT_TRUE(harness.exists("mvMP3.csv")) << "the song list is saved at exit";
    EXPECT_EQ(harness.programEnds, 1);
    window.exitProgram();
    EXPECT_EQ(harness.programEnds, 1);
}

TEST(Exit, CloseBoxRunsTheSameExitSteps) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    window.randomOrderBox->setChecked(false);
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(harness.setting("RANDAM"), "0");
    EXPECT_EQ(harness.programEnds, 1);
}

TEST(Exit, TerminationSignalRunsTheExitStepsOnce) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    window.randomOrderBox->setChecked(true);
    runOnTerminationSignals(&window, [&window] { window.exitProgram(); });
    std::raise(SIGTERM);
    std::raise(SIGHUP);
    QElapsedTimer clock;
    clock.start();
    while (harness.programEnds == 0 && clock.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(harness.programEnds, 1);
    EXPECT_EQ(harness.setting("RANDAM"), "1");
}

// A list file that cannot be read whole is reported and never overwritten;
// the program's own left-over temporary files go, nothing else does.
TEST(StartUp, RefusedListStaysAndLeftOverTemporaryFilesGo) {
    WindowHarness harness;
    const std::string list = harness.path("mvMP3.csv");
    ASSERT_EQ(::mkfifo(list.c_str(), 0600), 0);
    harness.writeFile(".melvo-123.tmp", "half a list");
    harness.writeFile("keep.tmp", "not ours");
    MainWindow& window = harness.start();
    ASSERT_FALSE(harness.dialogs.messages.empty());
    EXPECT_TRUE(harness.dialogs.messages[0].contains("を読み込めませんでした"))
        << harness.dialogs.messages[0].toStdString();
    EXPECT_FALSE(harness.exists(".melvo-123.tmp"));
    EXPECT_TRUE(harness.exists("keep.tmp"));
    window.exitProgram();
    EXPECT_EQ(harness.programEnds, 1);
    struct stat info {};
    ASSERT_EQ(::stat(list.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "the list file was not replaced";
}

// Start-up messages wait for the user; meanwhile nothing may play, pop up or
// be written that start-up has not read yet.
TEST(StartUpMessages, NothingPlaysBehindThemAndAnExitWritesOnlyWhatWasRead) {
    struct Case {
        const char* name;
        long mixerError;       // a mixer message before anything is read
        bool exitDuringFirst;  // the session ends while the first message is open
    };
    for (const Case c : {Case{"missing song, automatic play", 0, false},
                         Case{"exit during the mixer message", 2, true},
                         Case{"exit during the missing-song message", 0, true}}) {
        SCOPED_TRACE(c.name);
        WindowHarness harness;
        harness.writeFile("a.mp3", "mp3");
        const std::string list = harness.path("gone.mp3") + "\r\n" + harness.path("a.mp3") + "\r\n";
        harness.writeFile("mvMP3.csv", list);
        harness.setSetting("AUTO", "1");
        harness.setSetting("RANDAM", "1");
        harness.mixer.openResult = c.mixerError;
        bool timersIdle = true;
        harness.dialogs.whileShown = [&] {
            MainWindow& w = harness.window();
            timersIdle = timersIdle && !timer(w.jukebox, "autoPlayTimer")->isActive() &&
                         !timer(w.jukebox, "noSongsNoticeTimer")->isActive();
            if (c.exitDuringFirst && harness.dialogs.messages.size() == 1) w.exitProgram();
        };
        MainWindow& window = harness.start();
        EXPECT_TRUE(timersIdle);
        EXPECT_TRUE(std::none_of(harness.media.log.begin(), harness.media.log.end(),
                                 [](const std::string& call) { return call.starts_with("open"); }))
            << "no song opened before start-up ended";
        EXPECT_EQ(harness.setting("RANDAM"), "1");
        if (c.exitDuringFirst) {
            EXPECT_EQ(harness.programEnds, 1);
            EXPECT_EQ(harness.readFile("mvMP3.csv"),
                      c.mixerError ? list : harness.path("a.mp3") + "\r\n");
        } else {
            EXPECT_TRUE(timer(window.jukebox, "autoPlayTimer")->isActive());
            window.jukebox.superviseAutoPlay();
            EXPECT_EQ(window.jukebox.songList().chosenPath(), harness.path("a.mp3"));
        }
    }
}

}  // namespace
}  // namespace melvo
