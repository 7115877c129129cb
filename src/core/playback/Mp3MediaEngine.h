// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The media engine that decodes with libmpg123 and plays through the sound
// server (PulseAudio's protocol) when one answers, else through SDL2 audio.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "core/playback/MediaEngine.h"

namespace melvo {

class AudioOutput;
class PlaybackDevice;
class PulseConnection;

class Mp3MediaEngine final : public MediaEngine {
  public:
    Mp3MediaEngine();
    ~Mp3MediaEngine() override;

    bool open(const std::string& path) override;
    bool play(const std::string& path) override;
    bool pause(const std::string& path) override;
    bool resume(const std::string& path) override;
    bool seek(const std::string& path, std::int64_t milliseconds) override;
    bool close(const std::string& path) override;
    std::int64_t lengthMs(const std::string& path) override;
    std::int64_t positionMs(const std::string& path) override;
    MediaMode mode(const std::string& path) override;
    std::string takeOutputError() override;

  private:
    PlaybackDevice* find(const std::string& path);
    // Starts SDL's audio subsystem on first use; false (with the reason kept
    // for takeOutputError) when it cannot start.
    bool startAudio();
    // The sound output for a device's first play; nullptr (with the reason
    // kept for takeOutputError) when there is none.
    std::unique_ptr<AudioOutput> makeOutput(PlaybackDevice& device);

    std::map<std::string, std::unique_ptr<PlaybackDevice>> devices_;
    std::string outputError_;
    bool audioStarted_ = false;
    std::shared_ptr<PulseConnection> server_;
    bool serverUnreachable_ = false;  // no server answered: SDL from then on
};

}  // namespace melvo
