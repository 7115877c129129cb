// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Test doubles for the core's platform services: the media engine and the mixer.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/playback/MediaEngine.h"
#include "core/volume/Mixer.h"

namespace melvo::test {

// Devices that play in no time: a test moves positions and ends songs itself.
class FakeMediaEngine : public MediaEngine {
  public:
    struct Device {
        std::int64_t positionMs = 0;
        MediaMode mode = MediaMode::Stopped;
    };

    bool open(const std::string& path) override {
        log.push_back("open " + path);
        if (devices.count(path) || unplayable.count(path)) return false;
        devices[path] = Device{};
        return true;
    }
    bool play(const std::string& path) override {
        return setMode("play", path, MediaMode::Playing);
    }
    bool pause(const std::string& path) override {
        return setMode("pause", path, MediaMode::Paused);
    }
    bool resume(const std::string& path) override {
        return setMode("resume", path, MediaMode::Playing);
    }
    bool seek(const std::string& path, std::int64_t milliseconds) override {
        log.push_back("seek " + path + " " + std::to_string(milliseconds));
        if (!devices.count(path)) return false;
        devices[path] = Device{milliseconds, MediaMode::Stopped};
        return true;
    }
    bool close(const std::string& path) override {
        log.push_back("close " + path);
        return devices.erase(path) > 0;
    }
    std::int64_t lengthMs(const std::string& path) override {
        return devices.count(path) && lengths.count(path) ? lengths[path] : 0;
    }
    std::int64_t positionMs(const std::string& path) override {
        return devices.count(path) ? devices[path].positionMs : 0;
    }
    MediaMode mode(const std::string& path) override {
        return devices.count(path) ? devices[path].mode : MediaMode::Closed;
    }
    std::string takeOutputError() override { return std::exchange(outputError, {}); }

    // The song has played to its end.
    void finish(const std::string& path) { devices[path].mode = MediaMode::Stopped; }
    bool isOpen(const std::string& path) const { return devices.count(path) > 0; }

    std::map<std::string, Device> devices;
    std::map<std::string, std::int64_t> lengths;  // the length of each known song
    std::map<std::string, bool> unplayable;
    std::vector<std::string> log;
    std::string outputError;

  private:
    bool setMode(const char* command, const std::string& path, MediaMode mode) {
        log.push_back(std::string(command) + " " + path);
        if (!devices.count(path)) return false;
        devices[path].mode = mode;
        return true;
    }
};

// A master volume held in memory; it can be told to fail.
class FakeMixer : public Mixer {
  public:
    long open() override {
        ++openCount;
        opened = openResult == 0;
        return openResult;
    }
    long findMasterVolume(MixerControl& control) override {
        if (findResult == 0) control = masterControl;
        return findResult;
    }
    long setValue(std::uint32_t controlId, std::uint32_t newValue) override {
        writes.emplace_back(controlId, newValue);
        volume = newValue;
        return 0;
    }
    std::uint32_t value(std::uint32_t) override { return volume; }
    void close() override { ++closeCount; }

    long openResult = 0;
    long findResult = 0;
    MixerControl masterControl{7, 0, 65535};
    std::uint32_t volume = 32768;
    bool opened = false;
    int openCount = 0;
    int closeCount = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> writes;
};

}  // namespace melvo::test
