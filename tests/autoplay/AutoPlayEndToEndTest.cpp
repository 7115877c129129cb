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

#include "playback/MediaEngine.h"
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
    while (output.audible().size() < 4 && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    window.jukebox.stop();

    const auto sessions = output.audible();
    ASSERT_GE(sessions.size(), 4u) << harness.media.takeOutputError();
    const double expected[] = {440, 660, 880, 440};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(dominantFrequency(sessions[i]), expected[i], 15) << "song " << i + 1;
    }
}

}  // namespace
}  // namespace melvo
