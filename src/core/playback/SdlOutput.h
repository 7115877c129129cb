// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// An SDL2 audio device as the output: the sound goes wherever SDL's driver
// sends it (SDL_AUDIODRIVER chooses; "disk" writes it to a file).
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "core/playback/AudioOutput.h"

namespace melvo {

class SdlOutput final : public AudioOutput {
  public:
    // Opens SDL's default device for stereo at the rate, held. Answers
    // nullptr with SDL's reason in error when it cannot. SDL's audio
    // subsystem must have been started.
    static std::unique_ptr<SdlOutput> open(SampleSource& source, long rate, std::string& error);
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    void start() override;
    void discard() override;
    std::int64_t heardFrames() override;

  private:
    explicit SdlOutput(SampleSource& source) : source_(source) {}
    static void SDLCALL fill(void* self, Uint8* stream, int bytes);

    SampleSource& source_;
    SDL_AudioDeviceID device_ = 0;
    // Guarded by SDL's device lock, which SDL holds around fill.
    std::int64_t heard_ = 0;      // what the buffers before the last one held
    std::int64_t handedOut_ = 0;  // what every buffer so far held
};

}  // namespace melvo
