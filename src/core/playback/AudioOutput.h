// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Where a playing song's samples go: an output pulls 16-bit stereo sample
// frames from its source on its own thread and tells how much of it has been
// heard. Two outputs exist: a PulseAudio stream and an SDL2 audio device.
#pragma once

#include <cstddef>
#include <cstdint>

namespace melvo {

class SampleSource {
  public:
    struct Pulled {
        std::size_t frames;  // sample frames written
        bool finished;       // the song has been handed out whole
    };

    virtual ~SampleSource() = default;
    // Called on the output's thread: copies up to maxFrames of what comes
    // next into out. Must not block.
    virtual Pulled pull(std::int16_t* out, std::size_t maxFrames) = 0;
    // Called on the output's thread once everything pulled has been heard
    // after the source finished, or when the output broke down.
    virtual void drained() = 0;
};

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // Starts playing, or goes on after the end of the source.
    virtual void start() = 0;
    // Stops at once, dropping everything queued and not yet heard; the heard
    // count starts again from zero. The sound server then does no work for
    // this output until it starts again.
    virtual void discard() = 0;
    // Sample frames heard since the output was made or last discarded.
    virtual std::int64_t heardFrames() = 0;
    // The source has samples again after a pull found it empty.
    virtual void samplesReady() {}
};

}  // namespace melvo
