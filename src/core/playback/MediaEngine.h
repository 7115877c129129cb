// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Plays MP3 files by path. Each open path is one device; every call names its
// device by the path. A call on a path that is not open does nothing and
// answers empty (0 for the numbers, Closed for the mode).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace melvo {

// What an open device does; Closed for a path that is not open. Stopped also
// once the song has played to its end.
enum class MediaMode { Closed, Stopped, Playing, Paused };

class MediaEngine {
  public:
    virtual ~MediaEngine() = default;
    // Makes the file ready to play from its start. Fails, leaving the open
    // device alone, when the path is already open.
    virtual bool open(const std::string& path) = 0;
    // Plays from the current position and returns at once.
    virtual bool play(const std::string& path) = 0;
    virtual bool pause(const std::string& path) = 0;
    virtual bool resume(const std::string& path) = 0;
    // Moves to the given millisecond and leaves the device stopped there.
    virtual bool seek(const std::string& path, std::int64_t milliseconds) = 0;
    // Stops and releases the device.
    virtual bool close(const std::string& path) = 0;
    virtual std::int64_t lengthMs(const std::string& path) = 0;
    virtual std::int64_t positionMs(const std::string& path) = 0;
    virtual MediaMode mode(const std::string& path) = 0;
    // Why the sound output could not be opened, once per failure; "" otherwise.
    virtual std::string takeOutputError() = 0;
};

// The engine that decodes with libmpg123 and plays through the sound server or SDL2.
std::unique_ptr<MediaEngine> makeMediaEngine();

}  // namespace melvo
