// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/playback/SdlOutput.h"

#include <cstring>

namespace melvo {

namespace {

constexpr int kChannels = 2;
// Sample frames SDL asks for per callback (93 ms at 44.1 kHz): fewer wake-ups
// of the sound server and of this process.
constexpr Uint16 kOutputFrames = 4096;

}  // namespace

std::unique_ptr<SdlOutput> SdlOutput::open(SampleSource& source, long rate, std::string& error) {
    std::unique_ptr<SdlOutput> output(new SdlOutput(source));
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(rate);
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = kOutputFrames;
    wanted.callback = &SdlOutput::fill;
    wanted.userdata = output.get();
    // SDL converts when the hardware wants another format. A new device
    // starts paused.
    output->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (output->device_ == 0) {
        error = SDL_GetError();
        return nullptr;
    }
    return output;
}

SdlOutput::~SdlOutput() { SDL_CloseAudioDevice(device_); }

void SdlOutput::start() { SDL_PauseAudioDevice(device_, 0); }

void SdlOutput::discard() {
    SDL_PauseAudioDevice(device_, 1);
    SDL_LockAudioDevice(device_);
    heard_ = handedOut_ = 0;
    SDL_UnlockAudioDevice(device_);
}

std::int64_t SdlOutput::heardFrames() {
    SDL_LockAudioDevice(device_);
    const std::int64_t heard = heard_;
    SDL_UnlockAudioDevice(device_);
    return heard;
}

// SDL's audio thread asks for the next buffer; when it asks again, the one
// before has been heard.
void SDLCALL SdlOutput::fill(void* self, Uint8* stream, int bytes) {
    auto& output = *static_cast<SdlOutput*>(self);
    auto* out = reinterpret_cast<std::int16_t*>(stream);
    const std::size_t wanted = static_cast<std::size_t>(bytes) / (kChannels * sizeof(std::int16_t));
    const SampleSource::Pulled pulled = output.source_.pull(out, wanted);
    output.heard_ = output.handedOut_;
    output.handedOut_ += static_cast<std::int64_t>(pulled.frames);
    std::memset(out + pulled.frames * kChannels, 0,
                (wanted - pulled.frames) * kChannels * sizeof(std::int16_t));
    if (pulled.frames == 0 && pulled.finished) {
        output.source_.drained();
    }
}

}  // namespace melvo
