// How a device plays: a worker thread decodes ahead into a ring of samples;
// SDL's audio callback takes from the ring. The callback was chosen over
// SDL_QueueAudio because it tells exactly which samples have gone out and lets
// the decoder sleep until there is room, so nothing polls: the worker wakes
// about four times a second, when half the ring has been played.
//
// Threads: the public calls come from the UI thread; the worker and SDL's
// audio thread share a device's state under its mutex. SDL's own device lock
// is taken around our callback, so SDL calls are never made while holding the
// device mutex. The decoder belongs to the UI thread until the worker starts,
// then to the worker alone; seeks reach it as requests.
#include "playback/SdlMediaEngine.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "playback/Mp3Decoder.h"

namespace melvo {

namespace {

constexpr int kChannels = Mp3Decoder::kChannels;
// Sample frames SDL asks for per callback (93 ms at 44.1 kHz): fewer wake-ups
// of the sound server and of this process.
constexpr Uint16 kOutputFrames = 4096;
// Sample frames the worker decodes per step.
constexpr std::size_t kDecodeFrames = 4096;
// The longest play() waits for the first decoded samples.
constexpr auto kFirstFillWait = std::chrono::milliseconds(300);

}  // namespace

class PlaybackDevice {
  public:
    explicit PlaybackDevice(std::unique_ptr<Mp3Decoder> decoder)
        : decoder_(std::move(decoder)),
          rate_(decoder_->rate()),
          length_(decoder_->lengthFrames()),
          // Half a second of sound, at least a few decoding steps.
          ring_(std::max<std::size_t>(rate_ / 2, 4 * kDecodeFrames) * kChannels) {}

    ~PlaybackDevice() {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        if (worker_.joinable()) {
            worker_.join();
        }
        if (output_ != 0) {
            SDL_CloseAudioDevice(output_);
        }
    }

    std::int64_t lengthMs() const { return length_ * 1000 / rate_; }

    std::int64_t positionMs() {
        std::lock_guard lock(mutex_);
        return heard_ * 1000 / rate_;
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

    // Opens the sound output and starts the worker on the first play.
    // Answers SDL's reason when the output cannot be opened.
    std::optional<std::string> play() {
        if (output_ == 0) {
            SDL_AudioSpec wanted{};
            wanted.freq = static_cast<int>(rate_);
            wanted.format = AUDIO_S16SYS;
            wanted.channels = kChannels;
            wanted.samples = kOutputFrames;
            wanted.callback = &PlaybackDevice::fillOutput;
            wanted.userdata = this;
            // SDL converts when the hardware wants another format.
            output_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
            if (output_ == 0) {
                return std::string(SDL_GetError());
            }
            worker_ = std::thread([this] { decodeAhead(); });
        }
        {
            std::unique_lock lock(mutex_);
            if (state_ == State::Playing) {
                return std::nullopt;
            }
            // A short wait lets the song start with sound rather than with
            // a buffer of silence.
            filled_.wait_for(lock, kFirstFillWait,
                             [this] { return ringFrames_ > 0 || decoderDone_ || quit_; });
            state_ = State::Playing;
        }
        SDL_PauseAudioDevice(output_, 0);
        return std::nullopt;
    }

    void pause() { holdOutput(State::Playing, State::Paused); }

    void resume() { holdOutput(State::Paused, State::Playing); }

    void seek(std::int64_t milliseconds) {
        // Rounded up to whole samples, so the position then reads back as
        // the very millisecond asked for.
        const std::int64_t target = std::clamp<std::int64_t>(
            (std::max<std::int64_t>(milliseconds, 0) * rate_ + 999) / 1000, 0, length_);
        if (output_ != 0) {
            SDL_PauseAudioDevice(output_, 1);
        }
        {
            std::lock_guard lock(mutex_);
            state_ = State::Stopped;
            seekTarget_ = target;
            heard_ = handedOut_ = target;
            ringStart_ = ringFrames_ = 0;
            decoderDone_ = false;
            ++generation_;
        }
        wake_.notify_all();
        if (!worker_.joinable()) {
            decoder_->seek(target);
            std::lock_guard lock(mutex_);
            seekTarget_.reset();
        }
    }

  private:
    enum class State { Stopped, Playing, Paused, Ended };

    // Pauses or resumes the output when the device is in state from; SDL is
    // called outside the lock, since SDL holds its own around the callback.
    void holdOutput(State from, State to) {
        {
            std::lock_guard lock(mutex_);
            if (state_ != from) {
                return;
            }
            state_ = to;
        }
        SDL_PauseAudioDevice(output_, to == State::Paused ? 1 : 0);
    }

    std::size_t freeFrames() const { return ring_.size() / kChannels - ringFrames_; }

    // The worker: keeps the ring filled while there is something to decode,
    // and sleeps until half of it has been played.
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

    // SDL's audio thread asks for the next buffer.
    static void SDLCALL fillOutput(void* self, Uint8* stream, int bytes) {
        static_cast<PlaybackDevice*>(self)->fill(
            reinterpret_cast<std::int16_t*>(stream),
            static_cast<std::size_t>(bytes) / (kChannels * sizeof(std::int16_t)));
    }

    void fill(std::int16_t* out, std::size_t wanted) {
        std::size_t given = 0;
        bool wakeWorker = false;
        {
            std::lock_guard lock(mutex_);
            if (state_ == State::Playing) {
                const std::size_t capacity = ring_.size() / kChannels;
                given = std::min(wanted, ringFrames_);
                for (std::size_t copied = 0; copied < given;) {
                    const std::size_t run = std::min(given - copied, capacity - ringStart_);
                    std::memcpy(out + copied * kChannels, &ring_[ringStart_ * kChannels],
                                run * kChannels * sizeof(std::int16_t));
                    copied += run;
                    ringStart_ = (ringStart_ + run) % capacity;
                }
                ringFrames_ -= given;
                // What the previous buffer held has now been heard.
                heard_ = handedOut_;
                handedOut_ += static_cast<std::int64_t>(given);
                if (given == 0 && decoderDone_) {
                    state_ = State::Ended;
                }
                wakeWorker = !decoderDone_ && freeFrames() >= capacity / 2;
            }
        }
        if (wakeWorker) {
            wake_.notify_one();
        }
        std::memset(out + given * kChannels, 0,
                    (wanted - given) * kChannels * sizeof(std::int16_t));
    }

    std::unique_ptr<Mp3Decoder> decoder_;
    const long rate_;
    const std::int64_t length_;
    SDL_AudioDeviceID output_ = 0;
    std::thread worker_;

    std::mutex mutex_;
    std::condition_variable wake_;    // the worker has something to do
    std::condition_variable filled_;  // the worker has decoded a block
    // Everything below is guarded by mutex_.
    std::vector<std::int16_t> ring_;
    std::size_t ringStart_ = 0;   // first unplayed sample frame in ring_
    std::size_t ringFrames_ = 0;  // decoded sample frames waiting in ring_
    State state_ = State::Stopped;
    std::int64_t heard_ = 0;      // sample frames the listener has heard
    std::int64_t handedOut_ = 0;  // sample frames given to SDL
    std::optional<std::int64_t> seekTarget_;
    unsigned generation_ = 0;  // counts seeks, so stale decoded blocks are dropped
    bool decoderDone_ = false;
    bool quit_ = false;
};

SdlMediaEngine::SdlMediaEngine() = default;

SdlMediaEngine::~SdlMediaEngine() {
    devices_.clear();
    if (audioStarted_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

PlaybackDevice* SdlMediaEngine::find(const std::string& path) {
    const auto it = devices_.find(path);
    return it == devices_.end() ? nullptr : it->second.get();
}

bool SdlMediaEngine::startAudio() {
    if (!audioStarted_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            outputError_ = SDL_GetError();
            return false;
        }
        audioStarted_ = true;
    }
    return true;
}

bool SdlMediaEngine::open(const std::string& path) {
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

bool SdlMediaEngine::play(const std::string& path) {
    PlaybackDevice* device = find(path);
    if (device == nullptr || !startAudio()) {
        return false;
    }
    if (auto error = device->play()) {
        outputError_ = std::move(*error);
        return false;
    }
    return true;
}

bool SdlMediaEngine::pause(const std::string& path) {
    PlaybackDevice* device = find(path);
    if (device != nullptr) {
        device->pause();
    }
    return device != nullptr;
}

bool SdlMediaEngine::resume(const std::string& path) {
    PlaybackDevice* device = find(path);
    if (device != nullptr) {
        device->resume();
    }
    return device != nullptr;
}

bool SdlMediaEngine::seek(const std::string& path, std::int64_t milliseconds) {
    PlaybackDevice* device = find(path);
    if (device != nullptr) {
        device->seek(milliseconds);
    }
    return device != nullptr;
}

bool SdlMediaEngine::close(const std::string& path) { return devices_.erase(path) > 0; }

std::int64_t SdlMediaEngine::lengthMs(const std::string& path) {
    PlaybackDevice* device = find(path);
    return device != nullptr ? device->lengthMs() : 0;
}

std::int64_t SdlMediaEngine::positionMs(const std::string& path) {
    PlaybackDevice* device = find(path);
    return device != nullptr ? device->positionMs() : 0;
}

MediaMode SdlMediaEngine::mode(const std::string& path) {
    PlaybackDevice* device = find(path);
    return device != nullptr ? device->mode() : MediaMode::Closed;
}

std::string SdlMediaEngine::takeOutputError() { return std::exchange(outputError_, {}); }

std::unique_ptr<MediaEngine> makeMediaEngine() { return std::make_unique<SdlMediaEngine>(); }

}  // namespace melvo
