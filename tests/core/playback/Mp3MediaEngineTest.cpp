// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The real engine, played through SDL's "dummy" driver (real time, no sound),
// and through SDL's "disk" driver and the sound server's null sink to check
// what the listener hears.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/playback/MediaEngine.h"
#include "support/ScopedEnv.h"

namespace melvo {
namespace {

using test::ScopedEnv;

using namespace std::chrono_literals;

std::string fixture(const std::string& name) { return std::string(MELVO_FIXTURE_DIR "/") + name; }

// 30001 sample frames at 44.1 kHz.
constexpr std::int64_t kToneMs = 680;

// Waits until the device reports the mode, or gives up after a generous time.
bool waitForMode(MediaEngine& engine, const std::string& path, MediaMode mode,
                 std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (engine.mode(path) != mode) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

TEST(MediaEngine, PathsThatAreNotOpenAnswerEmpty) {
    auto engine = makeMediaEngine();
    const std::string path = fixture("cbr_tag.mp3");
    EXPECT_FALSE(engine->play(path));
    EXPECT_FALSE(engine->pause(path));
    EXPECT_FALSE(engine->resume(path));
    EXPECT_FALSE(engine->seek(path, 100));
    EXPECT_FALSE(engine->close(path));
    EXPECT_EQ(engine->lengthMs(path), 0);
    EXPECT_EQ(engine->positionMs(path), 0);
    EXPECT_EQ(engine->mode(path), MediaMode::Closed);
    EXPECT_EQ(engine->takeOutputError(), "");
}

// One device from open to close: stopped at the start, playing, a second
// open that leaves it playing, closed, and usable again after a new open.
TEST(MediaEngine, OpenPlayCloseAndOpenAgain) {
    auto engine = makeMediaEngine();
    const std::string path = fixture("cbr_tag.mp3");
    ASSERT_TRUE(engine->open(path));
    EXPECT_EQ(engine->lengthMs(path), kToneMs);
    EXPECT_EQ(engine->mode(path), MediaMode::Stopped);
    EXPECT_EQ(engine->positionMs(path), 0);

    ASSERT_TRUE(engine->play(path));
    EXPECT_EQ(engine->mode(path), MediaMode::Playing);
    EXPECT_FALSE(engine->open(path));
    EXPECT_EQ(engine->mode(path), MediaMode::Playing);
    std::this_thread::sleep_for(200ms);
    EXPECT_GT(engine->positionMs(path), 0);
    EXPECT_EQ(engine->mode(path), MediaMode::Playing);

    EXPECT_TRUE(engine->close(path));
    EXPECT_EQ(engine->mode(path), MediaMode::Closed);
    EXPECT_EQ(engine->positionMs(path), 0);
    EXPECT_FALSE(engine->play(path));

    ASSERT_TRUE(engine->open(path));
    EXPECT_EQ(engine->positionMs(path), 0);
    EXPECT_EQ(engine->mode(path), MediaMode::Stopped);
}

TEST(MediaEngine, PlaysToTheEndThenReportsStopped) {
    auto engine = makeMediaEngine();
    const std::string path = fixture("vbr_tag.mp3");
    ASSERT_TRUE(engine->open(path));
    ASSERT_TRUE(engine->play(path));
    ASSERT_TRUE(waitForMode(*engine, path, MediaMode::Stopped));
    EXPECT_EQ(engine->positionMs(path), kToneMs);
    EXPECT_EQ(engine->lengthMs(path), kToneMs);
}

TEST(MediaEngine, PauseHoldsThePositionAndResumeGoesOn) {
    auto engine = makeMediaEngine();
    const std::string path = fixture("cbr_tag.mp3");
    ASSERT_TRUE(engine->open(path));
    ASSERT_TRUE(engine->play(path));
    const auto limit = std::chrono::steady_clock::now() + 2s;
    while (engine->positionMs(path) == 0 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(engine->pause(path));
    EXPECT_EQ(engine->mode(path), MediaMode::Paused);
    const std::int64_t held = engine->positionMs(path);
    EXPECT_GT(held, 0);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(engine->positionMs(path), held);
    EXPECT_EQ(engine->mode(path), MediaMode::Paused);

    ASSERT_TRUE(engine->resume(path));
    EXPECT_EQ(engine->mode(path), MediaMode::Playing);
    ASSERT_TRUE(waitForMode(*engine, path, MediaMode::Stopped));
    EXPECT_EQ(engine->positionMs(path), kToneMs);
}

// A seek leaves the device stopped at the new place, from a playing or a
// paused device alike; the play that follows goes on from there. Targets
// beyond either end are held to the song.
TEST(MediaEngine, SeekStopsThereAndPlayGoesOnFromThere) {
    auto engine = makeMediaEngine();
    const std::string path = fixture("vbr_notag.mp3");
    ASSERT_TRUE(engine->open(path));
    ASSERT_TRUE(engine->seek(path, 400));
    EXPECT_EQ(engine->mode(path), MediaMode::Stopped);
    EXPECT_EQ(engine->positionMs(path), 400);

    ASSERT_TRUE(engine->play(path));
    EXPECT_GE(engine->positionMs(path), 400);
    ASSERT_TRUE(engine->pause(path));
    ASSERT_TRUE(engine->seek(path, 100));
    EXPECT_EQ(engine->mode(path), MediaMode::Stopped);
    EXPECT_EQ(engine->positionMs(path), 100);
    ASSERT_TRUE(engine->play(path));
    std::this_thread::sleep_for(100ms);
    const std::int64_t position = engine->positionMs(path);
    EXPECT_GE(position, 100);
    EXPECT_LT(position, 600);

    ASSERT_TRUE(engine->seek(path, -5));
    EXPECT_EQ(engine->positionMs(path), 0);
    ASSERT_TRUE(engine->seek(path, 99999));
    EXPECT_EQ(engine->positionMs(path), engine->lengthMs(path));
    ASSERT_TRUE(engine->play(path));
    EXPECT_TRUE(waitForMode(*engine, path, MediaMode::Stopped));
}

// Paths are plain text handed to the file system: blanks, quotes, commas and
// Japanese characters need no care. A file deleted while it plays plays on
// from what is already open.
TEST(MediaEngine, OddPathsAndAFileDeletedWhilePlaying) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::filesystem::path dir = folder.path().toStdString() + "/曲 \"フォルダ\", 1";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "さくら, \"夜\" 'live'.mp3").string();
    std::filesystem::copy_file(fixture("cbr_tag.mp3"), path);

    auto engine = makeMediaEngine();
    ASSERT_TRUE(engine->open(path));
    EXPECT_EQ(engine->lengthMs(path), kToneMs);
    ASSERT_TRUE(engine->play(path));
    std::filesystem::remove(path);
    EXPECT_TRUE(waitForMode(*engine, path, MediaMode::Stopped));
    EXPECT_TRUE(engine->close(path));
    EXPECT_FALSE(engine->open(path));
}

// Damaged files fail to open, or play what can be decoded and then stop;
// none hangs or crashes. A huge ID3 tag in front changes nothing.
// A named pipe without a writer, or a folder, fails to open at once.
TEST(MediaEngine, DamagedFiles) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string pipe = folder.filePath("pipe.mp3").toStdString();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    auto engine = makeMediaEngine();
    for (const std::string& path :
         {fixture("empty.mp3"), fixture("random.mp3"), fixture("wav_renamed.mp3"),
          fixture("missing.mp3"), pipe, folder.path().toStdString()}) {
        SCOPED_TRACE(path);
        if (engine->open(path)) {
            EXPECT_TRUE(engine->play(path));
            EXPECT_TRUE(waitForMode(*engine, path, MediaMode::Stopped));
            engine->close(path);
        } else {
            EXPECT_EQ(engine->lengthMs(path), 0);
            EXPECT_EQ(engine->mode(path), MediaMode::Closed);
        }
    }

    const std::string cut = fixture("truncated.mp3");
    ASSERT_TRUE(engine->open(cut));
    ASSERT_TRUE(engine->play(cut));
    EXPECT_TRUE(waitForMode(*engine, cut, MediaMode::Stopped));
    EXPECT_GT(engine->positionMs(cut), 200);
    EXPECT_LE(engine->positionMs(cut), engine->lengthMs(cut));
    engine->close(cut);  // SDL's dummy driver has one output at a time

    const std::string tagged = fixture("huge_id3.mp3");
    ASSERT_TRUE(engine->open(tagged));
    EXPECT_EQ(engine->lengthMs(tagged), kToneMs);
    ASSERT_TRUE(engine->play(tagged)) << engine->takeOutputError();
    EXPECT_TRUE(waitForMode(*engine, tagged, MediaMode::Stopped));
    EXPECT_EQ(engine->positionMs(tagged), kToneMs);
}

// Without any sound output, play fails at once and says why, once.
TEST(MediaEngine, NoSoundOutputIsReportedOnce) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    auto engine = makeMediaEngine();
    const std::string path = fixture("cbr_tag.mp3");
    ASSERT_TRUE(engine->open(path));
    EXPECT_FALSE(engine->play(path));
    EXPECT_EQ(engine->mode(path), MediaMode::Stopped);
    EXPECT_NE(engine->takeOutputError(), "");
    EXPECT_EQ(engine->takeOutputError(), "");
    EXPECT_FALSE(engine->play(path));
    EXPECT_NE(engine->takeOutputError(), "");
}

// Sign changes of one channel of interleaved stereo, ignoring near-silence.
int zeroCrossings(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to,
                  int channel) {
    int crossings = 0;
    int sign = 0;
    for (std::size_t i = from; i < to; ++i) {
        const int value = samples[2 * i + static_cast<std::size_t>(channel)];
        const int now = value > 1000 ? 1 : value < -1000 ? -1 : 0;
        if (now != 0 && now != sign) {
            crossings += sign != 0;
            sign = now;
        }
    }
    return crossings;
}

// Interleaved 16-bit stereo samples from a raw capture file.
std::vector<std::int16_t> readSamples(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::int16_t> samples;
    std::int16_t value = 0;
    while (in.read(reinterpret_cast<char*>(&value), sizeof value)) {
        samples.push_back(value);
    }
    return samples;
}

// What reaches the output: SDL's disk driver writes it to a file in real time.
// The song must be the 440 Hz tone on both channels, half a second long.
TEST(MediaEngine, PlaysTheToneThroughTheDiskDriver) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string capture = folder.filePath("out.raw").toStdString();
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        ScopedEnv file("SDL_DISKAUDIOFILE", capture);
        auto engine = makeMediaEngine();  // SDL's audio starts and stops with the engine
        const std::string path = fixture("tone440.mp3");
        ASSERT_TRUE(engine->open(path));
        ASSERT_TRUE(engine->play(path)) << engine->takeOutputError();
        ASSERT_TRUE(waitForMode(*engine, path, MediaMode::Stopped));
        engine->close(path);
    }

    const std::vector<std::int16_t> samples = readSamples(capture);
    const std::size_t frames = samples.size() / 2;
    std::size_t first = 0;
    while (first < frames && std::abs(samples[2 * first]) < 300) {
        ++first;
    }
    std::size_t last = frames;
    while (last > first && std::abs(samples[2 * (last - 1)]) < 300) {
        --last;
    }
    ASSERT_GT(last, first);
    const double seconds = static_cast<double>(last - first) / 44100.0;
    EXPECT_NEAR(seconds, 0.5, 0.01);
    for (int channel = 0; channel < 2; ++channel) {
        const int crossings = zeroCrossings(samples, first, last, channel);
        EXPECT_NEAR(crossings / 2.0 / seconds, 440.0, 10.0) << "channel " << channel;
    }
}

// What the listener hears of the steps fixture (1.5 s at 440 Hz, then 1.5 s
// at 880 Hz), in 50 ms pieces.
enum class Heard { Silence, Low, High, Other };
constexpr std::size_t kPieceFrames = 2205;
constexpr std::int64_t kPieceMs = 50;

std::vector<Heard> listen(const std::vector<std::int16_t>& samples) {
    std::vector<Heard> heard;
    for (std::size_t from = 0; from + kPieceFrames <= samples.size() / 2; from += kPieceFrames) {
        int loudest = 0;
        for (std::size_t i = from; i < from + kPieceFrames; ++i) {
            loudest = std::max(loudest, std::abs(static_cast<int>(samples[2 * i])));
        }
        // 44 sign changes in 50 ms at 440 Hz, 88 at 880 Hz.
        const int crossings = zeroCrossings(samples, from, from + kPieceFrames, 0);
        heard.push_back(loudest < 300                        ? Heard::Silence
                        : crossings >= 38 && crossings <= 50 ? Heard::Low
                        : crossings >= 80 && crossings <= 96 ? Heard::High
                                                             : Heard::Other);
    }
    return heard;
}

std::int64_t heardMs(const std::vector<Heard>& heard, Heard what, std::size_t from = 0,
                     std::size_t to = SIZE_MAX) {
    to = std::min(to, heard.size());
    return kPieceMs * std::count(heard.begin() + static_cast<std::ptrdiff_t>(std::min(from, to)),
                                 heard.begin() + static_cast<std::ptrdiff_t>(to), what);
}

// The command's output, or "" when it cannot run.
std::string commandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t got = fread(buffer, 1, sizeof buffer, pipe)) {
            text.append(buffer, got);
        }
        pclose(pipe);
    }
    return text;
}

// The private server of tools/with-sound-server.sh, whose null sink nobody hears.
bool privateSoundServer() {
    return commandOutput("pactl info 2>/dev/null").find("Default Sink: nullsink") !=
           std::string::npos;
}

// Records the sound server's default sink into a raw file while it lives,
// from the first sound on. The short latency asked for keeps the sink from
// mixing far ahead, so the recording is what a sound card would have played.
class SinkRecording {
  public:
    explicit SinkRecording(const std::string& file) {
        std::vector<std::string> args = {"parec",
                                         "--raw",
                                         "--format=s16le",
                                         "--rate=44100",
                                         "--channels=2",
                                         "--latency-msec=20",
                                         "--device=@DEFAULT_MONITOR@",
                                         file};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "parec", nullptr, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        // An idle null sink first mixes two seconds ahead; after that it
        // keeps to the latency asked for.
        std::this_thread::sleep_for(2200ms);
    }
    ~SinkRecording() { stop(); }
    SinkRecording(const SinkRecording&) = delete;
    SinkRecording& operator=(const SinkRecording&) = delete;

    bool started() const { return pid_ > 0; }
    void stop() {
        if (pid_ > 0) {
            std::this_thread::sleep_for(300ms);  // what is still on its way
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

  private:
    pid_t pid_ = -1;
};

// Waits until the position has passed the given millisecond.
bool waitForPosition(MediaEngine& engine, const std::string& path, std::int64_t past) {
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (engine.positionMs(path) <= past) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

struct HearingCase {
    const char* name;
    bool server;  // through the sound server, else through SDL's disk driver
    bool seek;    // a seek into the 880 Hz half, else a pause and a resume
};

class WhatIsHeard : public ::testing::TestWithParam<HearingCase> {};

// After a pause nothing more of the song is heard until the resume, which
// goes on from there: nothing lost, nothing twice. After a seek no old sound
// is heard: the output's queue is dropped, and the position starts moving
// from the new place. While paused no stream plays on the sound server.
TEST_P(WhatIsHeard, PauseAndSeekAreHeardAtOnce) {
    const HearingCase& row = GetParam();
    if (row.server && !privateSoundServer()) {
        GTEST_SKIP() << "no private sound server (tools/with-sound-server.sh starts one)";
    }
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string capture = folder.filePath("out.raw").toStdString();
    ScopedEnv driver("SDL_AUDIODRIVER", row.server ? "" : "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", capture);
    std::optional<SinkRecording> recording;
    if (row.server) {
        recording.emplace(capture);
        ASSERT_TRUE(recording->started());
    }

    std::int64_t heardBefore = 0;  // the position when the pause or the seek came
    {
        auto engine = makeMediaEngine();
        const std::string path = fixture("steps.mp3");
        ASSERT_TRUE(engine->open(path));
        ASSERT_TRUE(engine->play(path)) << engine->takeOutputError();
        ASSERT_TRUE(waitForPosition(*engine, path, 300));
        if (row.seek) {
            heardBefore = engine->positionMs(path);
            ASSERT_TRUE(engine->seek(path, 2000));
            EXPECT_EQ(engine->positionMs(path), 2000);
            ASSERT_TRUE(engine->play(path));
            EXPECT_TRUE(waitForPosition(*engine, path, 2000));
        } else {
            ASSERT_TRUE(engine->pause(path));
            heardBefore = engine->positionMs(path);
            if (row.server) {
                std::this_thread::sleep_for(100ms);  // the server has seen the pause
                const std::string streams = commandOutput("pactl list sink-inputs");
                EXPECT_EQ(streams.find("Corked: no"), std::string::npos) << streams;
            }
            std::this_thread::sleep_for(600ms);
            EXPECT_EQ(engine->positionMs(path), heardBefore);
            ASSERT_TRUE(engine->resume(path));
        }
        ASSERT_TRUE(waitForMode(*engine, path, MediaMode::Stopped));
        EXPECT_EQ(engine->positionMs(path), 3000);
    }
    if (recording) {
        recording->stop();
    }

    const std::vector<Heard> heard = listen(readSamples(capture));
    const auto first = static_cast<std::size_t>(
        std::find_if(heard.begin(), heard.end(), [](Heard h) { return h != Heard::Silence; }) -
        heard.begin());
    ASSERT_LT(first, heard.size());
    // Up to a piece at either side of a change is mixed; the output may run
    // up to 100 ms ahead of the position it reports.
    const std::int64_t slack = 2 * kPieceMs + 100;
    if (row.seek) {
        EXPECT_LE(heardMs(heard, Heard::Low), heardBefore + slack);
        EXPECT_NEAR(heardMs(heard, Heard::High), 1000, slack);
        return;
    }
    // The first silence of 0.4 s or more after the start is the pause.
    std::size_t gap = first;
    while (gap < heard.size() && heardMs(heard, Heard::Silence, gap, gap + 8) < 400) {
        ++gap;
    }
    ASSERT_LT(gap, heard.size());
    EXPECT_LE(heardMs(heard, Heard::Low, first, gap), heardBefore + slack);
    EXPECT_NEAR(heardMs(heard, Heard::Low), 1500, slack);
    EXPECT_NEAR(heardMs(heard, Heard::High), 1500, slack);
}

INSTANTIATE_TEST_SUITE_P(Outputs, WhatIsHeard,
                         ::testing::Values(HearingCase{"ServerPause", true, false},
                                           HearingCase{"ServerSeek", true, true},
                                           HearingCase{"DiskPause", false, false},
                                           HearingCase{"DiskSeek", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace melvo
