// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// How a device plays: a worker thread decodes ahead into a ring of samples;
// the output (a PulseAudio stream, or an SDL2 device) pulls from the ring on
// its own thread. The worker sleeps until half the ring has been played, so
// nothing polls.
//
// Threads: the public calls come from the UI thread; the worker and the
// output's thread share a device's state under its mutex. The output calls
// into the device with its own lock held, so the device never calls the
// output while holding its mutex. The decoder belongs to the UI thread until
// the worker starts, then to the worker alone; seeks reach it as requests.
#include "core/playback/Mp3MediaEngine.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "core/playback/AudioOutput.h"
#include "core/playback/Mp3Decoder.h"
#include "core/playback/PulseOutput.h"
#include "core/playback/SdlOutput.h"

namespace melvo {

namespace {

constexpr int kChannels = Mp3Decoder::kChannels;
// Sample frames the worker decodes per step.
constexpr std::size_t kDecodeFrames = 4096;
// The longest play() waits for the first decoded samples.
constexpr auto kFirstFillWait = std::chrono::milliseconds(300);

}  // namespace

class PlaybackDevice final : public SampleSource {
  public:
    explicit PlaybackDevice(std::unique_ptr<Mp3Decoder> decoder)
        : decoder_(std::move(decoder)),
          rate_(decoder_->rate()),
          length_(decoder_->lengthFrames()),
          // Half a second of sound, at least a few decoding steps.
          ring_(std::max<std::size_t>(rate_ / 2, 4 * kDecodeFrames) * kChannels) {}

    ~PlaybackDevice() override {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        if (worker_.joinable()) {
            worker_.join();
        }
        output_.reset();
    }

    long rate() const { return rate_; }
    std::int64_t lengthMs() const { return length_ * 1000 / rate_; }

    bool hasOutput() const { return output_ != nullptr; }

    // Gives the device its sound output and starts decoding ahead.
    void attach(std::unique_ptr<AudioOutput> output) {
        output_ = std::move(output);
        worker_ = std::thread([this] { decodeAhead(); });
    }

    std::int64_t positionMs() {
        const std::int64_t heard = output_ != nullptr ? output_->heardFrames() : 0;
        std::lock_guard lock(mutex_);
        std::int64_t position = held_;
        if (state_ == State::Playing) {
            // Never behind where a pause held it, never ahead of what the
            // output has been given.
            position = std::max(held_, start_ + std::min(heard, pulled_));
        }
        return position * 1000 / rate_;
    }

    MediaMode mode() {
        std::lock_guard lock(mutex_);
        switch (state_) {
            case State::Playing:
                return MediaMode::Playing;
            case State::Paused:
                return MediaMode::Paused;
            default:
                return MediaMode::Stopped;
        }
    }

    // Plays from the current position once the output is attached.
    void play() {
        {
            std::unique_lock lock(mutex_);
            if (state_ == State::Playing) {
                return;
            }
            // A short wait lets the song start with sound rather than with
            // a buffer of silence.
            filled_.wait_for(lock, kFirstFillWait,
                             [this] { return ringFrames_ > 0 || decoderDone_ || quit_; });
            state_ = State::Playing;
        }
        output_->start();
    }

    // The output is closed, so that neither this process nor the sound
    // server works while paused; the resume decodes on from where the
    // listener stopped hearing.
    void pause() {
        {
            std::lock_guard lock(mutex_);
            if (state_ != State::Playing) {
                return;
            }
        }
        const std::int64_t heard = output_->heardFrames();
        output_->discard();
        std::int64_t position = 0;
        {
            std::lock_guard lock(mutex_);
            position = std::max(held_, start_ + std::min(heard, pulled_));
        }
        restartAt(position, State::Paused);
    }

    void resume() {
        {
            std::lock_guard lock(mutex_);
            if (state_ != State::Paused) {
                return;
            }
            state_ = State::Playing;
        }
        output_->start();
    }

    void seek(std::int64_t milliseconds) {
        // Rounded up to whole samples, so the position then reads back as
        // the very millisecond asked for.
        const std::int64_t target = std::clamp<std::int64_t>(
            (std::max<std::int64_t>(milliseconds, 0) * rate_ + 999) / 1000, 0, length_);
        if (output_ != nullptr) {
            output_->discard();
        }
        restartAt(target, State::Stopped);
    }

    Pulled pull(std::int16_t* out, std::size_t maxFrames) override {
        bool wakeWorker = false;
        Pulled pulled{0, false};
        {
            std::lock_guard lock(mutex_);
            if (state_ != State::Playing) {
                return pulled;
            }
            const std::size_t capacity = ring_.size() / kChannels;
            pulled.frames = std::min(maxFrames, ringFrames_);
            for (std::size_t copied = 0; copied < pulled.frames;) {
                const std::size_t run = std::min(pulled.frames - copied, capacity - ringStart_);
                std::memcpy(out + copied * kChannels, &ring_[ringStart_ * kChannels],
                            run * kChannels * sizeof(std::int16_t));
                copied += run;
                ringStart_ = (ringStart_ + run) % capacity;
            }
            ringFrames_ -= pulled.frames;
            pulled_ += static_cast<std::int64_t>(pulled.frames);
            pulled.finished = decoderDone_ && ringFrames_ == 0;
            starved_ = pulled.frames < maxFrames && !pulled.finished;
            wakeWorker = !decoderDone_ && freeFrames() >= capacity / 2;
        }
        if (wakeWorker) {
            wake_.notify_one();
        }
        return pulled;
    }

    void drained() override {
        std::lock_guard lock(mutex_);
        if (state_ == State::Playing) {
            state_ = State::Ended;
            held_ = start_ + pulled_;
        }
    }

  private:
    enum class State { Stopped, Playing, Paused, Ended };

    // Empties the ring and has the worker decode on from the sample frame,
    // in the given state; the output must have been discarded.
    void restartAt(std::int64_t frame, State state) {
        {
            std::lock_guard lock(mutex_);
            state_ = state;
            seekTarget_ = frame;
            start_ = held_ = frame;
            pulled_ = 0;
            ringStart_ = ringFrames_ = 0;
            decoderDone_ = false;
            starved_ = false;
            ++generation_;
        }
        wake_.notify_all();
        if (!worker_.joinable()) {
            decoder_->seek(frame);
            std::lock_guard lock(mutex_);
            seekTarget_.reset();
        }
    }

    std::size_t freeFrames() const { return ring_.size() / kChannels - ringFrames_; }

    // The worker: keeps the ring filled while there is something to decode,
    // and sleeps until half of it has been played. When the output found the
    // ring empty, it is told as soon as there is more (or the end).
    void decodeAhead() {
        std::vector<std::int16_t> block(kDecodeFrames * kChannels);
        const std::size_t capacity = ring_.size() / kChannels;
        std::unique_lock lock(mutex_);
        bool topUp = true;
        while (true) {
            wake_.wait(lock, [&] {
                return quit_ || seekTarget_ ||
                       (!decoderDone_ && freeFrames() >= (topUp ? kDecodeFrames : capacity / 2));
            });
            if (quit_) {
                return;
            }
            if (seekTarget_) {
                const std::int64_t target = *seekTarget_;
                seekTarget_.reset();
                lock.unlock();
                const bool moved = decoder_->seek(target);
                lock.lock();
                decoderDone_ = decoderDone_ || !moved;
                topUp = true;
                continue;
            }
            const unsigned generation = generation_;
            lock.unlock();
            const std::size_t frames = decoder_->decode(block.data(), kDecodeFrames);
            lock.lock();
            if (generation != generation_) {
                continue;  // A seek came in meanwhile: these samples are stale.
            }
            if (frames == 0) {
                decoderDone_ = true;
            } else {
                pushToRing(block.data(), frames);
            }
            topUp = freeFrames() >= kDecodeFrames;
            filled_.notify_all();
            if (std::exchange(starved_, false)) {
                lock.unlock();
                output_->samplesReady();
                lock.lock();
            }
        }
    }

    void pushToRing(const std::int16_t* samples, std::size_t frames) {
        const std::size_t capacity = ring_.size() / kChannels;
        std::size_t end = (ringStart_ + ringFrames_) % capacity;
        for (std::size_t left = frames; left > 0;) {
            const std::size_t run = std::min(left, capacity - end);
            std::memcpy(&ring_[end * kChannels], samples, run * kChannels * sizeof(std::int16_t));
            samples += run * kChannels;
            left -= run;
            end = (end + run) % capacity;
        }
        ringFrames_ += frames;
    }

    std::unique_ptr<Mp3Decoder> decoder_;
    const long rate_;
    const std::int64_t length_;
    std::unique_ptr<AudioOutput> output_;
    std::thread worker_;

    std::mutex mutex_;
    std::condition_variable wake_;    // the worker has something to do
    std::condition_variable filled_;  // the worker has decoded a block
    // Everything below is guarded by mutex_.
    std::vector<std::int16_t> ring_;
    std::size_t ringStart_ = 0;   // first unplayed sample frame in ring_
    std::size_t ringFrames_ = 0;  // decoded sample frames waiting in ring_
    State state_ = State::Stopped;
    std::int64_t start_ = 0;   // the song's sample frame where the output's count began
    std::int64_t pulled_ = 0;  // sample frames the output has taken since then
    std::int64_t held_ = 0;    // the position while not playing, and the least while playing
    std::optional<std::int64_t> seekTarget_;
    unsigned generation_ = 0;  // counts seeks, so stale decoded blocks are dropped
    bool decoderDone_ = false;
    bool starved_ = false;  // the output found the ring emptier than it wanted
    bool quit_ = false;
};

Mp3MediaEngine::Mp3MediaEngine() = default;

Mp3MediaEngine::~Mp3MediaEngine() {
    devices_.clear();
    if (audioStarted_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

PlaybackDevice* Mp3MediaEngine::find(const std::string& path) {
    const auto it = devices_.find(path);
    return it == devices_.end() ? nullptr : it->second.get();
}

bool Mp3MediaEngine::startAudio() {
    if (!audioStarted_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            outputError_ = SDL_GetError();
            return false;
        }
        audioStarted_ = true;
    }
    return true;
}

bool Mp3MediaEngine::open(const std::string& path) {
    if (find(path) != nullptr) {
        return false;
    }
    auto decoder = std::make_unique<Mp3Decoder>();
    if (!decoder->open(path)) {
        return false;
    }
    devices_.emplace(path, std::make_unique<PlaybackDevice>(std::move(decoder)));
    return true;
}

// A sound server is used when one answers, unless SDL_AUDIODRIVER names an
// SDL driver to use instead (the tests' "dummy" and "disk", for one).
std::unique_ptr<AudioOutput> Mp3MediaEngine::makeOutput(PlaybackDevice& device) {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if ((driver == nullptr || *driver == '\0') && !serverUnreachable_) {
        if (server_ == nullptr || !server_->isUsable()) {
            server_ = PulseConnection::connect();
        }
        if (server_ != nullptr) {
            return PulseConnection::makeOutput(server_, device, device.rate());
        }
        serverUnreachable_ = true;
    }
    if (!startAudio()) {
        return nullptr;
    }
    return SdlOutput::open(device, device.rate(), outputError_);
}

bool Mp3MediaEngine::play(const std::string& path) {
    PlaybackDevice* device = find(path);
    if (device == nullptr) {
        return false;
    }
    if (!device->hasOutput()) {
        std::unique_ptr<AudioOutput> output = makeOutput(*device);
        if (output == nullptr) {
            return false;
        }
        device->attach(std::move(output));
    }
    device->play();
    return true;
}

bool Mp3MediaEngine::pause(const std::string& path) {
    PlaybackDevice* device = find(path);
    if (device != nullptr) {
        device->pause();
    }
    return device != nullptr;
}

bool Mp3MediaEngine::resume(const std::string& path) {
    PlaybackDevice* device = find(path);
    if (device != nullptr) {
        device->resume();
    }
    return device != nullptr;
}

bool Mp3MediaEngine::seek(const std::string& path, std::int64_t milliseconds) {
    PlaybackDevice* device = find(path);
    if (device != nullptr) {
        device->seek(milliseconds);
    }
    return device != nullptr;
}

bool Mp3MediaEngine::close(const std::string& path) { return devices_.erase(path) > 0; }

std::int64_t Mp3MediaEngine::lengthMs(const std::string& path) {
    PlaybackDevice* device = find(path);
    return device != nullptr ? device->lengthMs() : 0;
}

std::int64_t Mp3MediaEngine::positionMs(const std::string& path) {
    PlaybackDevice* device = find(path);
    return device != nullptr ? device->positionMs() : 0;
}

MediaMode Mp3MediaEngine::mode(const std::string& path) {
    PlaybackDevice* device = find(path);
    return device != nullptr ? device->mode() : MediaMode::Closed;
}

std::string Mp3MediaEngine::takeOutputError() { return std::exchange(outputError_, {}); }

std::unique_ptr<MediaEngine> makeMediaEngine() { return std::make_unique<Mp3MediaEngine>(); }

}  // namespace melvo
