// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The mixer layer: what the user is told when the mixer fails, what the
// program does without a mixer, and the ALSA scale and error mapping.
#include <QLabel>
#include <cerrno>

#include "core/volume/AlsaMixer.h"
#include "window/volume/MixerError.h"
#include "window/volume/VolumeWindowFixture.h"

namespace melvo::test {
namespace {

struct ErrorCase {
    long code;
    const char* text;
};

class MixerOpenFailureTest : public VolumeWindowTest,
                             public ::testing::WithParamInterface<ErrorCase> {};

TEST_P(MixerOpenFailureTest, ShowsTheCodeAndTextThenLeavesTheMixerAlone) {
    const ErrorCase c = GetParam();
    mixer.openResult = c.code;
    MainWindow& w = start();

    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0], QString("[%1] ").arg(c.code) + QString(c.text));
    EXPECT_EQ(harness.dialogs.icons[0], MessageIcon::Exclamation);
    EXPECT_EQ(w.volumeSlider->maximum(), 10) << "the sliders keep their design-time range";
    EXPECT_EQ(w.volumePanel->volumeWindow->initialVolumeSlider->maximum(), 10);

    selectEntry("/music/a.mp3, 1500");
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    w.volumeSlider->setValue(3);
    w.exitProgram();
    EXPECT_TRUE(mixer.calls.empty()) << "nothing is searched, read, written or closed";
    EXPECT_EQ(mixer.closeCount, 0);
    EXPECT_EQ(w.jukebox.songList().entries().entry(0), "/music/a.mp3, 3");
}

INSTANTIATE_TEST_SUITE_P(Codes, MixerOpenFailureTest,
                         ::testing::Values(ErrorCase{2, "指定されたデバイスIDは無効です。"},
                                           ErrorCase{4, "指定リソースはすでに割り当て済みです。"},
                                           ErrorCase{5, "指定されたハンドルは無効です。"},
                                           ErrorCase{6, "利用可能なミキサーデバイスがありません。"},
                                           ErrorCase{7, "リソースを割り当てることはできません｡"},
                                           ErrorCase{10, "1つ以上の無効なフラグがあります。"},
                                           ErrorCase{11, "1つ以上の無効なパラメータがあります。"},
                                           ErrorCase{1, ""}, ErrorCase{8, ""}, ErrorCase{1025, ""}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.code); });

TEST_F(VolumeWindowTest, MixerWithoutMasterVolumeIsClosedSilentlyAndNeverWritten) {
    mixer.findResult = kMixerNoControl;
    MainWindow& w = build();
    w.startUp();
    EXPECT_TRUE(harness.dialogs.messages.empty());
    EXPECT_EQ(mixer.calls, (std::vector<std::string>{"find", "close"}));
    EXPECT_EQ(w.volumeSlider->maximum(), 10);

    w.show();
    selectEntry("/music/a.mp3");
    w.jukebox.chooseEntry(w.jukebox.songList().entries().current());
    w.volumeSlider->setValue(5);
    w.exitProgram();
    EXPECT_EQ(mixer.calls, (std::vector<std::string>{"find", "close"}));
    EXPECT_EQ(programEnds, 1);
}

// The ALSA element's range stands behind the scale 0..65535: every value the
// program writes comes back unchanged when the element is at least as fine,
// and every step of a coarser element survives the way through the scale.
TEST(AlsaScale, ValuesSurviveTheWayThroughTheElementsRange) {
    for (std::uint32_t value = 0; value <= 65535; ++value) {
        const long onServer = alsaVolumeFor(value, 0, 65536);
        ASSERT_EQ(mixerVolumeFor(onServer, 0, 65536), value) << value;
    }
    for (long step = -40; step <= 31; ++step) {
        const std::uint32_t value = mixerVolumeFor(step, -40, 31);
        ASSERT_EQ(alsaVolumeFor(value, -40, 31), step) << step;
    }
    EXPECT_EQ(alsaVolumeFor(0, -40, 31), -40);
    EXPECT_EQ(alsaVolumeFor(65535, -40, 31), 31);
    EXPECT_EQ(alsaVolumeFor(70000, 0, 100), 100);
    EXPECT_EQ(mixerVolumeFor(200, 0, 100), 65535u);
    EXPECT_EQ(mixerVolumeFor(5, 5, 5), 0u);
}

// Without a sound server or card ALSA answers -ENOENT: the user must read
// that no mixer device is available. No failure may reach the user without a text.
TEST(AlsaErrors, MapOntoCodesTheUserCanRead) {
    EXPECT_EQ(mixerCodeForAlsaError(0), 0);
    EXPECT_EQ(mixerCodeForAlsaError(-ENOENT), kMixerNoDriver);
    for (int error : {ENOENT, ENODEV, ENXIO, EINVAL, EBUSY, EAGAIN, EBADF, EBADFD, ENOMEM, EIO,
                      EACCES, EPIPE}) {
        EXPECT_FALSE(mixerErrorText(mixerCodeForAlsaError(-error)).isEmpty()) << error;
    }
}

}  // namespace
}  // namespace melvo::test
