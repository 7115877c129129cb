#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <csignal>

#include "app/ExitSignals.h"
#include "support/WindowHarness.h"
#include "volume/VolumeWindow.h"

namespace melvo {
namespace {

using test::WindowHarness;

TEST(Startup, NoSettingsFileGivesTheDefaultsAndWritesNothing) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_EQ(window.lyricsDisplaySetting, "0");
    EXPECT_EQ(window.lyricsDisplay, 0);
    EXPECT_TRUE(window.hideLyricsMenuItem->isChecked());
    EXPECT_FALSE(window.showLyricsMenuItem->isChecked());
    EXPECT_EQ(window.autoPlayMode, "0");
    EXPECT_FALSE(window.randomOrderBox->isChecked());
    EXPECT_EQ(window.defaultVolumeSetting, "6553");
    EXPECT_FALSE(harness.exists("mvMP3.ini"));
}

TEST(Startup, SettingsSwitchMenusBoxAndSliders) {
    WindowHarness harness;
    harness.writeFile("mvMP3.ini", "[MUSIC]\r\nKASI_DISPLAY=2\r\nRANDAM=\r\nvol= 3000\r\n");
    MainWindow& window = harness.start();
    EXPECT_EQ(window.lyricsDisplay, 1) << "any number but 0 shows lyrics";
    EXPECT_TRUE(window.showLyricsMenuItem->isChecked());
    EXPECT_FALSE(window.hideLyricsMenuItem->isChecked());
    EXPECT_TRUE(window.randomOrderBox->isChecked()) << "an empty RANDAM is not \"0\"";
    EXPECT_EQ(window.volumeSlider->value(), 3000);
    EXPECT_EQ(window.ensureVolumeWindow()->initialVolumeSlider->value(), 3000);
}

TEST(Startup, KasiDisplayBeyondSixteenBitsStillShowsLyrics) {
    WindowHarness harness;
    harness.writeFile("mvMP3.ini", "[MUSIC]\r\nKASI_DISPLAY=65536\r\n");
    EXPECT_EQ(harness.start().lyricsDisplay, 1);
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
    EXPECT_FALSE(window.autoPlayTimer->isActive());
    EXPECT_TRUE(window.noSongsNoticeTimer->isActive());
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
    EXPECT_TRUE(window.autoPlayTimer->isActive());
    EXPECT_EQ(window.songEntries.current(), 0);
    EXPECT_EQ(window.autoPlayStarted, 0);
    EXPECT_EQ(window.noSongsNotice, 0);
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
    EXPECT_FALSE(window.autoPlayTimer->isActive());
    EXPECT_EQ(window.songEntries.current(), 0);
}

TEST(Startup, WindowCarriesItsNamesAndTimers) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_EQ(window.objectName(), "melvoMain");
    EXPECT_EQ(window.windowTitle(), "Melvo v1.04");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.positionTimer->interval(), 100);
    EXPECT_FALSE(window.positionTimer->isActive());
    EXPECT_EQ(window.autoPlayTimer->interval(), 1000);
    EXPECT_EQ(window.noSongsNoticeTimer->interval(), 1000);
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

}  // namespace
}  // namespace melvo
