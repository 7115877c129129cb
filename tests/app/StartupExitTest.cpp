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
    EXPECT_TRUE(window.menu_kasi_nondsp->isChecked());
    EXPECT_FALSE(window.menu_kasi_dsp->isChecked());
    EXPECT_EQ(window.autoPlayMode, "0");
    EXPECT_FALSE(window.Check1->isChecked());
    EXPECT_EQ(window.defaultVolumeSetting, "6553");
    EXPECT_FALSE(harness.exists("mvMP3.ini"));
}

TEST(Startup, SettingsSwitchMenusBoxAndSliders) {
    WindowHarness harness;
    harness.writeFile("mvMP3.ini", "[MUSIC]\r\nKASI_DISPLAY=2\r\nRANDAM=\r\nvol= 3000\r\n");
    MainWindow& window = harness.start();
    EXPECT_EQ(window.lyricsDisplay, 1) << "any number but 0 shows lyrics";
    EXPECT_TRUE(window.menu_kasi_dsp->isChecked());
    EXPECT_FALSE(window.menu_kasi_nondsp->isChecked());
    EXPECT_TRUE(window.Check1->isChecked()) << "an empty RANDAM is not \"0\"";
    EXPECT_EQ(window.Slider1->value(), 3000);
    EXPECT_EQ(window.volumeWindow()->Slider1->value(), 3000);
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
    EXPECT_TRUE(window.Command1->isEnabled());
    for (QPushButton* button :
         {window.cmdPlay, window.cmdPause, window.cmdResume, window.cmdStop, window.Command2,
          window.Command4, window.Command5, window.Command6}) {
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_FALSE(window.Timer2->isActive());
    EXPECT_TRUE(window.Timer3->isActive());
    EXPECT_FALSE(window.f1_menu_auto_on->isChecked());
    EXPECT_FALSE(window.f1_menu_manual->isChecked());
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
    EXPECT_EQ(MainWindow::backColour(window.Command4), ButtonColour::Highlight);
    EXPECT_TRUE(window.cmdStop->isEnabled());
    for (QPushButton* button :
         {window.cmdPlay, window.cmdPause, window.cmdResume, window.Command1, window.Command2}) {
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_TRUE(window.f1_menu_auto_on->isChecked());
    EXPECT_FALSE(window.f1_menu_manual->isChecked());
    EXPECT_TRUE(window.Timer2->isActive());
    EXPECT_EQ(window.List1.current(), 0);
    EXPECT_EQ(window.autoPlayStarted, 0);
    EXPECT_EQ(window.noSongsNotice, 0);
}

TEST(Startup, ManualModeWithSongsLeavesEveryButtonReady) {
    WindowHarness harness;
    MainWindow& window = startWithSongs(harness, "abc");  // no number: manual play
    for (QPushButton* button : {window.cmdPlay, window.cmdPause, window.cmdResume, window.cmdStop,
                                window.Command1, window.Command2}) {
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    }
    EXPECT_EQ(MainWindow::backColour(window.Command4), ButtonColour::Normal);
    EXPECT_TRUE(window.f1_menu_manual->isChecked());
    EXPECT_FALSE(window.Timer2->isActive());
    EXPECT_EQ(window.List1.current(), 0);
}

TEST(Startup, WindowCarriesItsNamesAndTimers) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_EQ(window.objectName(), "melvoMain");
    EXPECT_EQ(window.windowTitle(), "Melvo v1.04");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.Timer1->interval(), 100);
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer2->interval(), 1000);
    EXPECT_EQ(window.Timer3->interval(), 1000);
}

TEST(Exit, ExitButtonStoresRandomChoiceAndEndsOnce) {
    WindowHarness harness;
    harness.setSetting("RANDAM", "0");
    MainWindow& window = harness.start();
    window.Check1->setChecked(true);
    window.Command3->click();
    EXPECT_EQ(harness.setting("RANDAM"), "1");
    EXPECT_TRUE(harness.exists("mvMP3.csv")) << "the song list is saved at exit";
    EXPECT_EQ(harness.programEnds, 1);
    window.Command3_Click();
    EXPECT_EQ(harness.programEnds, 1);
}

TEST(Exit, CloseBoxRunsTheSameExitSteps) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    window.Check1->setChecked(false);
    QCloseEvent event;
    QCoreApplication::sendEvent(&window, &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(harness.setting("RANDAM"), "0");
    EXPECT_EQ(harness.programEnds, 1);
}

TEST(Exit, TerminationSignalRunsTheExitStepsOnce) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    window.Check1->setChecked(true);
    runOnTerminationSignals(&window, [&window] { window.Command3_Click(); });
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
