// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A main window over test doubles whose mixer logs every call in order, for
// the volume tests.
#pragma once

#include <gtest/gtest.h>

#include <QSlider>
#include <memory>
#include <string>
#include <vector>

#include "support/WindowHarness.h"
#include "window/main/MainWindow.h"
#include "window/volume/VolumeWindow.h"

namespace melvo::test {

class LoggingMixer : public FakeMixer {
  public:
    long findMasterVolume(MixerControl& control) override {
        calls.push_back("find");
        return FakeMixer::findMasterVolume(control);
    }
    long setValue(std::uint32_t controlId, std::uint32_t newValue) override {
        calls.push_back("set " + std::to_string(newValue));
        return FakeMixer::setValue(controlId, newValue);
    }
    std::uint32_t value(std::uint32_t controlId) override {
        calls.push_back("get");
        return FakeMixer::value(controlId);
    }
    void close() override {
        calls.push_back("close");
        FakeMixer::close();
    }
    std::vector<std::string> calls;
};

class VolumeWindowTest : public ::testing::Test {
  protected:
    // The window before its start-up.
    MainWindow& build() {
        window = std::make_unique<MainWindow>(
            harness.folder.path(),
            Services{harness.dialogs, harness.media, mixer, harness.launcher});
        window->endProgram = [this] { ++programEnds; };
        return *window;
    }
    // The window after its start-up, shown so that the user can reach it.
    MainWindow& start() {
        build().startUp();
        window->show();
        mixer.writes.clear();
        mixer.calls.clear();
        return *window;
    }
    // One song entry, made current; what choosing it wrote is forgotten.
    void selectEntry(const std::string& entry) {
        window->jukebox.appendEntries({entry});
        window->jukebox.chooseEntry(window->jukebox.songList().entries().count() - 1);
        mixer.writes.clear();
    }
    std::vector<std::uint32_t> writtenValues() const {
        std::vector<std::uint32_t> values;
        for (const auto& write : mixer.writes) values.push_back(write.second);
        return values;
    }

    WindowHarness harness;
    LoggingMixer mixer;
    std::unique_ptr<MainWindow> window;
    int programEnds = 0;
};

}  // namespace melvo::test
