// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Automatic play from start-up with the real engine: what SDL's disk driver
// writes must be the three songs in list order, then the first one again.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <thread>

#include "core/playback/MediaEngine.h"
#include "support/ScopedEnv.h"
#include "support/WindowHarness.h"

namespace melvo {
namespace {

// Every device the disk driver opens writes one session into a named pipe;
// the reader keeps each session's samples apart.
class OutputSessions {
  public:
    explicit OutputSessions(std::string pipe) : pipe_(std::move(pipe)) {
        ::mkfifo(pipe_.c_str(), 0600);
        reader_ = std::thread([this] { readSessions(); });
    }
    ~OutputSessions() {
        stop_ = true;
        const int fd = ::open(pipe_.c_str(), O_WRONLY | O_NONBLOCK);  // wakes a waiting reader
        if (fd >= 0) ::close(fd);
        reader_.join();
    }
    // The sessions that carried sound, as interleaved 16-bit stereo samples.
    std::vector<std::vector<std::int16_t>> audible() {
        std::lock_guard lock(mutex_);
        std::vector<std::vector<std::int16_t>> result;
        for (const auto& session : sessions_) {
            if (std::any_of(session.begin(), session.end(),
                            [](auto s) { return std::abs(s) > 1000; })) {
                result.push_back(session);
            }
        }
        return result;
    }

  private:
    void readSessions() {
        while (!stop_) {
            std::ifstream in(pipe_, std::ios::binary);
            std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
            std::vector<std::int16_t> samples(bytes.size() / 2);
            if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
            std::lock_guard lock(mutex_);
            sessions_.push_back(std::move(samples));
        }
    }

    std::string pipe_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::vector<std::int16_t>> sessions_;
    std::thread reader_;
};

// The tone's frequency from the zero crossings of the left channel's loud part.
double dominantFrequency(const std::vector<std::int16_t>& samples) {
    int crossings = 0;
    int sign = 0;
    size_t first = 0;
    size_t last = 0;
    for (size_t frame = 0; frame < samples.size() / 2; ++frame) {
        const int value = samples[2 * frame];
        const int now = value > 1000 ? 1 : value < -1000 ? -1 : 0;
        if (now == 0) continue;
        if (sign == 0) first = frame;
        if (now != sign && sign != 0) ++crossings;
        sign = now;
        last = frame;
    }
    return last > first ? crossings / 2.0 / ((last - first) / 44100.0) : 0.0;
}

// The tones heard one after another: the stream cut into tenths of a second,
// each loud tenth named by the nearest of the tones, and runs of one tone
// taken as one song (a lone tenth where two songs meet is no song). The pipe's sessions are not
// relied on, as a device that opens before the reader has seen the last one close joins its
// session.
std::vector<int> tonesHeard(const std::vector<std::vector<std::int16_t>>& sessions) {
    std::vector<std::int16_t> stream;
    for (const auto& session : sessions)
        stream.insert(stream.end(), session.begin(), session.end());
    constexpr size_t kTenth = 4410 * 2;
    std::vector<int> tenths;
    for (size_t at = 0; at + kTenth <= stream.size(); at += kTenth) {
        const double frequency =
            dominantFrequency({stream.begin() + at, stream.begin() + at + kTenth});
        if (frequency < 300) continue;  // silence between songs
        tenths.push_back(frequency < 550 ? 440 : frequency < 770 ? 660 : 880);
    }
    std::vector<int> tones;
    for (size_t i = 1; i < tenths.size(); ++i) {
        if (tenths[i] == tenths[i - 1] && (tones.empty() || tones.back() != tenths[i]))
            tones.push_back(tenths[i]);
    }
    return tones;
}

std::string fixture(const char* name) { return std::string(MELVO_FIXTURE_DIR "/") + name; }

TEST(AutoPlayEndToEnd, StartUpPlaysTheListInOrderAndStartsTheCycleAgain) {
    test::WindowHarness harness;
    OutputSessions output(harness.path("output.pipe"));
    test::ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    test::ScopedEnv file("SDL_DISKAUDIOFILE", harness.path("output.pipe"));
    harness.writeFile("mvMP3.csv", fixture("tone440.mp3") + "\r\n" + fixture("tone660.mp3") +
                                       "\r\n" + fixture("tone880.mp3") + "\r\n");
    harness.setSetting("AUTO", "1");
    const auto engine = makeMediaEngine();
    MainWindow& window = harness.start(engine.get());
    window.show();

    QElapsedTimer clock;
    clock.start();
    while (tonesHeard(output.audible()).size() < 4 && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    window.jukebox.stop();

    std::vector<int> tones = tonesHeard(output.audible());
    ASSERT_GE(tones.size(), 4u) << harness.media.takeOutputError();
    tones.resize(4);
    EXPECT_EQ(tones, (std::vector<int>{440, 660, 880, 440}));
}

}  // namespace
}  // namespace melvo
