// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The real master volume: the ALSA mixer against a running sound server. The
// server's sink volume is read with pactl, beside the program's own mixer.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSlider>
#include <QTest>
#include <cstdlib>
#include <optional>

#include "core/volume/AlsaMixer.h"
#include "support/WindowHarness.h"
#include "window/main/MainWindow.h"

namespace melvo::test {
namespace {

std::optional<QString> pactl(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The raw volume of the default sink's first channel, or -1.
long sinkVolume() {
    const auto text = pactl({"get-sink-volume", "@DEFAULT_SINK@"});
    if (!text) return -1;
    const auto match = QRegularExpression(QStringLiteral(":\\s*(\\d+)\\s*/")).match(*text);
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

bool setSinkVolume(long volume) {
    return pactl({"set-sink-volume", "@DEFAULT_SINK@", QString::number(volume)}).has_value();
}

// The server applies a write a moment later; waits up to two seconds for it.
long sinkVolumeOnceItIs(long expected) {
    QElapsedTimer clock;
    clock.start();
    long volume = sinkVolume();
    while (volume != expected && clock.elapsed() < 2000) {
        QTest::qWait(20);
        volume = sinkVolume();
    }
    return volume;
}

// Why the real mixer cannot be tried here; empty when it can.
std::string missingSoundServer() {
    if (!pactl({"info"})) {
        return "no sound server answers pactl (run the tests under tools/with-sound-server.sh)";
    }
    if (sinkVolume() < 0) return "the sound server has no default sink";
    AlsaMixer probe;
    if (const long code = probe.open(); code != 0) {
        return "ALSA's default mixer does not open (code " + std::to_string(code) +
               "); is the ALSA plugin for the server installed?";
    }
    MixerControl control;
    if (probe.findMasterVolume(control) != 0) return "ALSA's default mixer has no Master volume";
    return {};
}

class AlsaMixerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string missing = missingSoundServer();
        if (missing.empty()) return;
        const char* required = std::getenv("MELVO_REQUIRE_SOUND_SERVER");
        if (required && std::string(required) == "1") {
            FAIL() << "a sound server is required here, but " << missing;
        }
        GTEST_SKIP() << missing;
    }
};

TEST_F(AlsaMixerTest, SongVolumeMovesTheSinkAndExitGivesTheStartVolumeBack) {
    const long before = sinkVolume();
    ASSERT_TRUE(setSinkVolume(40000));
    ASSERT_EQ(sinkVolumeOnceItIs(40000), 40000);

    WindowHarness harness;
    AlsaMixer alsa;
    MainWindow window(harness.folder.path(),
                      Services{harness.dialogs, harness.media, alsa, harness.launcher});
    int programEnds = 0;
    window.endProgram = [&programEnds] { ++programEnds; };
    window.startUp();
    window.show();

    EXPECT_TRUE(harness.dialogs.messages.empty());
    ASSERT_TRUE(window.jukebox.volume().mixerOpened());
    EXPECT_NEAR(window.jukebox.volume().startupVolume(), 40000.0 * 65535 / 65536, 1.0);
    EXPECT_EQ(window.volumeSlider->maximum(), 6553);
    EXPECT_EQ(sinkVolume(), 40000) << "start-up leaves the volume alone";

    window.jukebox.appendEntries({"/music/a.mp3, 2000"});
    window.jukebox.chooseEntry(0);
    EXPECT_EQ(sinkVolumeOnceItIs(20000), 20000);

    QTest::keyClick(window.volumeSlider, Qt::Key_Right);  // the user: one step of 655
    EXPECT_EQ(window.jukebox.songList().entries().entry(0), "/music/a.mp3, 2655");
    EXPECT_EQ(sinkVolumeOnceItIs(26550), 26550);

    window.exitProgram();
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(sinkVolumeOnceItIs(40000), 40000);
    EXPECT_FALSE(window.jukebox.volume().mixerOpened());

    if (before >= 0) setSinkVolume(before);
}

}  // namespace
}  // namespace melvo::test
