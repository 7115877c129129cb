// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A PulseAudio stream as the output (PipeWire serves the same protocol). The
// server holds a second of sound, so it and this process wake a few times a
// second. A discarded stream is closed, so no old sound plays after a pause
// or a seek and the server does no work for it; one that has played out is
// corked.
#pragma once

#include <memory>

#include "core/playback/AudioOutput.h"

struct pa_threaded_mainloop;
struct pa_context;

namespace melvo {

// One connection to the user's sound server, with the thread that serves
// every stream made on it.
class PulseConnection {
  public:
    // Connects without starting a server; nullptr when none answers.
    static std::shared_ptr<PulseConnection> connect();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // False once the server has gone away.
    bool isUsable();
    // An output for stereo at the rate; its stream opens when it starts.
    static std::unique_ptr<AudioOutput> makeOutput(std::shared_ptr<PulseConnection> connection,
                                                   SampleSource& source, long rate);

  private:
    PulseConnection() = default;

    friend class PulseOutput;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
};

}  // namespace melvo
