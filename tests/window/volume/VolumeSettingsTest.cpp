// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The volume sliders, the per-song volume, the volume window and the mixer at
// start-up and exit, driven through the real main window.
#include <QLabel>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include "core/common/Numbers.h"
#include "core/settings/Settings.h"
#include "window/volume/VolumeWindow.h"
#include "window/volume/VolumeWindowFixture.h"

namespace melvo::test {
namespace {

QRect handleRect(QSlider* slider) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.upsideDown = slider->invertedAppearance();
    option.subControls = QStyle::SC_SliderHandle | QStyle::SC_SliderGroove;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                           slider);
}

struct StartCase {
    std::int32_t controlMaximum;
    std::uint32_t systemVolume;
    int sliderMaximum;
    int step;
    int sliderValue;
};

class OpenMixerTest : public VolumeWindowTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(OpenMixerTest, GivesBothSlidersTheControlsRangeAndTheSystemVolume) {
    const StartCase c = GetParam();
    mixer.masterControl = {7, 0, c.controlMaximum};
    mixer.volume = c.systemVolume;
    MainWindow& w = build();
    w.volumePanel->openMixer();

    EXPECT_EQ(w.jukebox.volume().startupVolume(), c.systemVolume);
    for (QSlider* slider : {w.volumeSlider, w.volumePanel->volumeWindow->initialVolumeSlider}) {
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), c.sliderMaximum);
        EXPECT_EQ(slider->tickInterval(), c.step);
        EXPECT_EQ(slider->pageStep(), c.step);
        EXPECT_EQ(slider->singleStep(), c.step);
        EXPECT_EQ(slider->value(), c.sliderValue);
    }
    EXPECT_TRUE(mixer.writes.empty()) << "start-up leaves the master volume alone";
    EXPECT_FALSE(w.volumePanel->volumeWindow->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, OpenMixerTest,
    ::testing::Values(StartCase{65535, 32768, 6553, 655, 3277},  // 3276.8 rounds up
                      StartCase{65535, 65535, 6553, 655, 6553},  // 6554 kept inside the range
                      StartCase{65535, 0, 6553, 655, 0},
                      StartCase{6549, 6545, 654, 65, 654},   // max cut, 65.4 and 654.5 to even
                      StartCase{6555, 6555, 655, 66, 655}),  // 65.5 and 655.5 to even
    [](const auto& info) {
        return "Max" + std::to_string(info.param.controlMaximum) + "Volume" +
               std::to_string(info.param.systemVolume);
    });

TEST_F(VolumeWindowTest, StartUpPutsTheInitialVolumeOnBothSlidersWithoutStoringIt) {
    harness.setSetting("vol", " 4000");
    MainWindow& w = start();
    EXPECT_EQ(w.volumeSlider->value(), 4000);
    EXPECT_EQ(w.volumePanel->volumeWindow->initialVolumeSlider->value(), 4000);
    EXPECT_EQ(harness.setting("vol"), "4000");
    EXPECT_TRUE(mixer.writes.empty());
}

struct SongCase {
    const char* name;
    const char* entry;
    const char* label;
    int slider;
};

class ApplySongVolumeTest : public VolumeWindowTest,
                            public ::testing::WithParamInterface<SongCase> {};

TEST_P(ApplySongVolumeTest, ShowsThePathAndSetsSliderAndMasterVolume) {
    const SongCase c = GetParam();
    harness.setSetting("vol", "6553");
    MainWindow& w = start();
    selectEntry(c.entry);
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());

    EXPECT_EQ(w.songPathLabel->text().toStdString(), c.label);
    EXPECT_EQ(w.volumeSlider->value(), c.slider);
    EXPECT_EQ(writtenValues(), std::vector<std::uint32_t>{std::uint32_t(c.slider) * 10});
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), c.entry) << "a selection stores nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ApplySongVolumeTest,
    ::testing::Values(SongCase{"NoVolume", "/music/a.mp3", "/music/a.mp3", 6553},
                      SongCase{"OwnVolume", "/music/a.mp3, 1500", "/music/a.mp3", 1500},
                      SongCase{"HalfRoundsDown", "/music/a.mp3, 12.5", "/music/a.mp3", 12},
                      SongCase{"HalfRoundsUp", "/music/a.mp3, 13.5", "/music/a.mp3", 14},
                      SongCase{"EmptyVolume", "/music/a.mp3,", "/music/a.mp3", 0},
                      SongCase{"AboveRange", "/music/a.mp3, 9000", "/music/a.mp3", 6553},
                      SongCase{"Negative", "/music/a.mp3,-20", "/music/a.mp3", 0},
                      SongCase{"Japanese", "/音楽/歌.mp3, 100", "/音楽/歌.mp3", 100}),
    [](const auto& info) { return std::string(info.param.name); });

// Where a path with a comma ends is the song list's rule; the volume handlers
// split entries only through it, on the way in and on the way out.
TEST_F(VolumeWindowTest, PathWithCommaIsSplitByTheSongListRule) {
    MainWindow& w = start();
    const std::string entry = "/music/a,b.mp3";
    selectEntry(entry);
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    const std::string path(entryPath(entry));
    EXPECT_EQ(w.songPathLabel->text().toStdString(), path);
    const int expected = entryHasVolume(entry) ? leadingWholeNumber(entryVolumeText(entry))
                                               : w.jukebox.volume().initialVolume();
    EXPECT_EQ(w.volumeSlider->value(), expected);

    w.volumeSlider->setValue(1000);
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), path + ", 1000");
}

TEST_F(VolumeWindowTest, SongWithoutVolumeUsesTheCurrentInitialVolume) {
    MainWindow& w = start();
    w.jukebox.setInitialVolume(3000);
    selectEntry("/music/a.mp3");
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    EXPECT_EQ(w.volumeSlider->value(), 3000);
    EXPECT_EQ(writtenValues(), std::vector<std::uint32_t>{30000});
}

// Every way a user works the main slider sets the master volume and stores the
// slider's value with the current entry, once per action.
TEST_F(VolumeWindowTest, EveryUserChangeOfTheMainSliderIsStoredWithTheSong) {
    MainWindow& w = start();
    selectEntry("/music/a.mp3, 1500");
    QSlider* slider = w.volumeSlider;

    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    mixer.writes.clear();

    QTest::keyClick(slider, Qt::Key_Right);  // one step of 655
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 2155");
    EXPECT_EQ(writtenValues(), std::vector<std::uint32_t>{21550});

    QWheelEvent wheel(QPointF(10, 5), slider->mapToGlobal(QPointF(10, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(slider, &wheel);
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 2810")
        << "a wheel turn moves one large step";

    slider->setValue(2000);  // an assistive tool sets the value
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 2000");
    EXPECT_EQ(writtenValues(), (std::vector<std::uint32_t>{21550, 28100, 20000}));

    // Mouse: the groove, the handle pressed and let go without moving, a drag.
    // Each counts once, when the button is let go.
    const int grooveY = handleRect(slider).center().y();
    mixer.writes.clear();
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 8, grooveY));
    EXPECT_EQ(slider->value(), 2655) << "a click on the groove moves one large step";
    EXPECT_EQ(writtenValues(), std::vector<std::uint32_t>{26550});
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 2655");

    mixer.writes.clear();
    const QPoint handle = handleRect(slider).center();
    QTest::mouseClick(slider, Qt::LeftButton, {}, handle);
    EXPECT_EQ(slider->value(), 2655);
    EXPECT_EQ(writtenValues(), std::vector<std::uint32_t>{26550})
        << "a click that leaves the value as it was still counts";

    mixer.writes.clear();
    QTest::mousePress(slider, Qt::LeftButton, {}, handle);
    QTest::mouseMove(slider, handle + QPoint(10, 0));
    QTest::mouseMove(slider, handle + QPoint(20, 0));
    EXPECT_TRUE(mixer.writes.empty()) << "nothing is applied while the handle is held";
    QTest::mouseRelease(slider, Qt::LeftButton, {}, handle + QPoint(20, 0));
    EXPECT_GT(slider->value(), 2655);
    EXPECT_EQ(writtenValues(), std::vector<std::uint32_t>{std::uint32_t(slider->value()) * 10});
    EXPECT_EQ(w.jukebox.songList().entries().entry(0),
              "/music/a.mp3," + blankLedNumber(slider->value()));
}

TEST_F(VolumeWindowTest, MainSliderStoresTheVolumeAfterThePathOnly) {
    MainWindow& w = start();
    selectEntry("/music/a.mp3");
    w.volumeSlider->setValue(2000);
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 2000");
    w.volumeSlider->setValue(0);
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 0");
    EXPECT_EQ(writtenValues(), (std::vector<std::uint32_t>{20000, 0}));
}

TEST_F(VolumeWindowTest, MainSliderWithoutCurrentEntrySetsTheVolumeAndStoresNothing) {
    MainWindow& w = start();
    w.jukebox.appendEntries({"/music/a.mp3, 1500"});
    w.jukebox.chooseEntry(-1);
    w.volumeSlider->setValue(2000);
    EXPECT_EQ(writtenValues(), std::vector<std::uint32_t>{20000});
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 1500");
}

TEST_F(VolumeWindowTest, VolumeWindowStoresTheInitialVolumeOnly) {
    MainWindow& w = start();
    selectEntry("/music/a.mp3, 1500");
    w.volumePanel->onInitialVolumeMenuItemTriggered();
    ASSERT_TRUE(w.volumePanel->volumeWindow && w.volumePanel->volumeWindow->isVisible());
    EXPECT_EQ(w.volumePanel->volumeWindow->windowModality(), Qt::NonModal);
    EXPECT_EQ(w.volumePanel->volumeWindow->windowTitle(), "音量初期値設定");
    EXPECT_EQ(w.volumePanel->volumeWindow->volumeCaptionLabel->text(), "ボリューム調整");

    const int mainBefore = w.volumeSlider->value();
    w.volumePanel->volumeWindow->initialVolumeSlider->setValue(2345);
    QTest::keyClick(w.volumePanel->volumeWindow->initialVolumeSlider, Qt::Key_Right);
    EXPECT_EQ(w.volumePanel->volumeWindow->initialVolumeSlider->value(), 3000);
    EXPECT_EQ(w.jukebox.volume().initialVolume(), 3000);
    EXPECT_EQ(harness.setting("vol"), "3000") << "the reader drops the leading blank";
    EXPECT_NE(harness.readFile(kSettingsFileName).find("vol= 3000"), std::string::npos);
    EXPECT_TRUE(mixer.writes.empty());
    EXPECT_EQ(w.volumeSlider->value(), mainBefore);
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 1500");

    selectEntry("/music/b.mp3");
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    EXPECT_EQ(w.volumeSlider->value(), 3000);
}

TEST_F(VolumeWindowTest, ReopenedVolumeWindowGetsRangeAndInitialVolumeAgain) {
    MainWindow& w = start();
    w.volumePanel->onInitialVolumeMenuItemTriggered();
    w.volumePanel->volumeWindow->initialVolumeSlider->setValue(3000);
    w.volumePanel->volumeWindow->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(w.volumePanel->volumeWindow);

    w.volumePanel->onInitialVolumeMenuItemTriggered();
    ASSERT_TRUE(w.volumePanel->volumeWindow);
    EXPECT_EQ(w.volumePanel->volumeWindow->initialVolumeSlider->maximum(), 6553);
    EXPECT_EQ(w.volumePanel->volumeWindow->initialVolumeSlider->pageStep(), 655);
    EXPECT_EQ(w.volumePanel->volumeWindow->initialVolumeSlider->value(), 3000);
    EXPECT_EQ(harness.setting("vol"), "3000") << "re-creating the window stores nothing";
}

// Both ways out give the system its volume back and then close the mixer once.
class ExitTest : public VolumeWindowTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ExitTest, RestoresTheStartUpVolumeThenClosesTheMixerOnce) {
    mixer.volume = 41000;
    MainWindow& w = start();
    selectEntry("/music/a.mp3, 1500");
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    w.volumeSlider->setValue(2000);
    mixer.calls.clear();

    if (GetParam()) {
        w.exitProgram();
    } else {
        w.close();
    }
    EXPECT_EQ(mixer.calls, (std::vector<std::string>{"set 41000", "close"}));
    EXPECT_EQ(mixer.volume, 41000u);
    EXPECT_EQ(programEnds, 1);

    w.exitProgram();
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    EXPECT_EQ(mixer.calls.size(), 2u) << "the closed mixer is not used again";
}

INSTANTIATE_TEST_SUITE_P(Paths, ExitTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "ExitButton" : "CloseBox"; });

}  // namespace
}  // namespace melvo::test
