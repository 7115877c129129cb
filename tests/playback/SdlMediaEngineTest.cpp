// The real engine, played through SDL's "dummy" driver (real time, no sound)
// and, once, through its "disk" driver to check what the listener would hear.
#include <gtest/gtest.h>

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

#include "playback/MediaEngine.h"
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
TEST(MediaEngine, DamagedFiles) {
    auto engine = makeMediaEngine();
    for (const char* file : {"empty.mp3", "random.mp3", "wav_renamed.mp3", "missing.mp3"}) {
        SCOPED_TRACE(file);
        const std::string path = fixture(file);
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

    std::ifstream in(capture, std::ios::binary);
    std::vector<std::int16_t> samples;
    std::int16_t value = 0;
    while (in.read(reinterpret_cast<char*>(&value), sizeof value)) {
        samples.push_back(value);
    }
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

}  // namespace
}  // namespace melvo
