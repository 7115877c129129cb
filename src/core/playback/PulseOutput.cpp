// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Threads: the public calls come from the UI thread and the decoding worker;
// the stream's callbacks run on the connection's thread. Everything that
// touches the server holds the connection's lock; the callbacks run with it
// held and then take the source's own lock, never the other way round.
#include "core/playback/PulseOutput.h"

#include <pulse/pulseaudio.h>

#include <chrono>
#include <thread>

namespace melvo {

namespace {

constexpr std::size_t kFrameBytes = 2 * sizeof(std::int16_t);
// How long connecting may take before the server counts as unreachable.
constexpr auto kConnectWait = std::chrono::seconds(2);
// The server's buffer, and how much of it is refilled at a time: this
// process wakes about every quarter second. The server then mixes ahead by
// the difference of the buffer and two refills (half a second) when no
// other stream wants less; cork and close take back what it mixed ahead.
constexpr std::uint32_t kBufferMs = 1000;
constexpr std::uint32_t kRefillMs = 250;
// A stream starts playing once this much is queued.
constexpr std::uint32_t kStartMs = 100;

// Holds the connection's lock for one scope.
class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) {
        pa_threaded_mainloop_lock(loop_);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

  private:
    pa_threaded_mainloop* loop_;
};

// Starts an operation whose result nobody waits for.
void forget(pa_operation* operation) {
    if (operation != nullptr) {
        pa_operation_unref(operation);
    }
}

}  // namespace

class PulseOutput final : public AudioOutput {
  public:
    PulseOutput(std::shared_ptr<PulseConnection> connection, SampleSource& source, long rate)
        : connection_(std::move(connection)), source_(source), rate_(rate) {}

    ~PulseOutput() override {
        LoopLock lock(connection_->loop_);
        closeStream();
    }

    void start() override {
        LoopLock lock(connection_->loop_);
        if (stream_ != nullptr && !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_))) {
            closeStream();  // the server went away: try anew, or end the song
        }
        if (stream_ == nullptr) {
            openStream();
            return;  // the server asks for the first samples once the stream is ready
        }
        forget(pa_stream_cork(stream_, 0, nullptr, nullptr));
        writeWhatFits();
    }

    void discard() override {
        LoopLock lock(connection_->loop_);
        closeStream();
    }

    std::int64_t heardFrames() override {
        LoopLock lock(connection_->loop_);
        pa_usec_t heard = 0;
        if (stream_ == nullptr || pa_stream_get_time(stream_, &heard) < 0) {
            return 0;
        }
        return static_cast<std::int64_t>(heard) * rate_ / 1000000;
    }

    void samplesReady() override {
        LoopLock lock(connection_->loop_);
        writeWhatFits();
    }

  private:
    std::uint32_t bytesFor(std::uint32_t milliseconds) const {
        return static_cast<std::uint32_t>(rate_ * milliseconds / 1000) * kFrameBytes;
    }

    void openStream() {
        const pa_sample_spec samples{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(rate_), 2};
        stream_ = pa_stream_new(connection_->context_, "Melvo", &samples, nullptr);
        if (stream_ == nullptr) {
            source_.drained();
            return;
        }
        pa_stream_set_write_callback(stream_, &PulseOutput::onWritable, this);
        pa_stream_set_state_callback(stream_, &PulseOutput::onState, this);
        pa_buffer_attr buffer{};
        buffer.maxlength = static_cast<std::uint32_t>(-1);
        buffer.tlength = bytesFor(kBufferMs);
        buffer.prebuf = bytesFor(kStartMs);
        buffer.minreq = bytesFor(kRefillMs);
        buffer.fragsize = static_cast<std::uint32_t>(-1);
        // Interpolated timing gives the heard position between the server's
        // reports without asking it each time.
        const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_INTERPOLATE_TIMING |
                                                          PA_STREAM_AUTO_TIMING_UPDATE);
        if (pa_stream_connect_playback(stream_, nullptr, &buffer, flags, nullptr, nullptr) < 0) {
            closeStream();
            source_.drained();
        }
    }

    void closeStream() {
        if (draining_ != nullptr) {
            pa_operation_cancel(draining_);
            pa_operation_unref(draining_);
            draining_ = nullptr;
        }
        if (stream_ != nullptr) {
            pa_stream_set_write_callback(stream_, nullptr, nullptr);
            pa_stream_set_state_callback(stream_, nullptr, nullptr);
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
            stream_ = nullptr;
        }
    }

    // Hands the server as many samples as it wants and the source has; once
    // the source has finished, waits for the stream to play out.
    void writeWhatFits() {
        if (stream_ == nullptr || pa_stream_get_state(stream_) != PA_STREAM_READY) {
            return;
        }
        std::size_t wanted = pa_stream_writable_size(stream_);
        while (wanted >= kFrameBytes && draining_ == nullptr) {
            void* data = nullptr;
            std::size_t bytes = wanted;
            if (pa_stream_begin_write(stream_, &data, &bytes) < 0) {
                return;
            }
            if (bytes < kFrameBytes) {
                pa_stream_cancel_write(stream_);
                return;
            }
            const SampleSource::Pulled pulled =
                source_.pull(static_cast<std::int16_t*>(data), bytes / kFrameBytes);
            if (pulled.frames == 0) {
                pa_stream_cancel_write(stream_);
            } else {
                pa_stream_write(stream_, data, pulled.frames * kFrameBytes, nullptr, 0,
                                PA_SEEK_RELATIVE);
                wanted -= pulled.frames * kFrameBytes;
            }
            if (pulled.finished) {
                // Draining also starts a stream that holds less than it
                // waits for before playing.
                draining_ = pa_stream_drain(stream_, &PulseOutput::onDrained, this);
            }
            if (pulled.frames == 0) {
                return;
            }
        }
    }

    static void onWritable(pa_stream*, std::size_t, void* self) {
        static_cast<PulseOutput*>(self)->writeWhatFits();
    }

    static void onState(pa_stream* stream, void* self) {
        if (!PA_STREAM_IS_GOOD(pa_stream_get_state(stream))) {
            static_cast<PulseOutput*>(self)->source_.drained();
        }
    }

    // Everything written has been played: the stream is corked, so the
    // server does no work for it until it runs again.
    static void onDrained(pa_stream* stream, int, void* self) {
        auto& output = *static_cast<PulseOutput*>(self);
        pa_operation_unref(output.draining_);
        output.draining_ = nullptr;
        forget(pa_stream_cork(stream, 1, nullptr, nullptr));
        output.source_.drained();
    }

    std::shared_ptr<PulseConnection> connection_;
    SampleSource& source_;
    const long rate_;
    // Guarded by the connection's lock.
    pa_stream* stream_ = nullptr;
    pa_operation* draining_ = nullptr;
};

std::shared_ptr<PulseConnection> PulseConnection::connect() {
    std::shared_ptr<PulseConnection> connection(new PulseConnection());
    connection->loop_ = pa_threaded_mainloop_new();
    if (connection->loop_ == nullptr) {
        return nullptr;
    }
    connection->context_ = pa_context_new(pa_threaded_mainloop_get_api(connection->loop_), "Melvo");
    if (connection->context_ == nullptr ||
        pa_context_connect(connection->context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
        pa_threaded_mainloop_start(connection->loop_) < 0) {
        return nullptr;
    }
    // Looks at the state now and then rather than waiting on it, so that a
    // server that never answers costs a bounded wait.
    const auto end = std::chrono::steady_clock::now() + kConnectWait;
    while (std::chrono::steady_clock::now() < end) {
        pa_context_state_t state = PA_CONTEXT_UNCONNECTED;
        {
            LoopLock lock(connection->loop_);
            state = pa_context_get_state(connection->context_);
        }
        if (state == PA_CONTEXT_READY) {
            return connection;
        }
        if (!PA_CONTEXT_IS_GOOD(state)) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return nullptr;
}

PulseConnection::~PulseConnection() {
    if (loop_ != nullptr) {
        pa_threaded_mainloop_stop(loop_);
    }
    if (context_ != nullptr) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    if (loop_ != nullptr) {
        pa_threaded_mainloop_free(loop_);
    }
}

bool PulseConnection::isUsable() {
    LoopLock lock(loop_);
    return pa_context_get_state(context_) == PA_CONTEXT_READY;
}

std::unique_ptr<AudioOutput> PulseConnection::makeOutput(
    std::shared_ptr<PulseConnection> connection, SampleSource& source, long rate) {
    return std::make_unique<PulseOutput>(std::move(connection), source, rate);
}

}  // namespace melvo
