// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Builds the real main window offscreen over test doubles and a temporary
// data folder.
#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "core/tags/TagScanner.h"
#include "support/CoreProbe.h"
#include "support/Fakes.h"
#include "window/library/SongListPanel.h"
#include "window/lyrics/LyricsPanel.h"
#include "window/main/MainWindow.h"
#include "window/playback/TransportPanel.h"
#include "window/volume/VolumePanel.h"

namespace melvo::test {

class WindowHarness {
  public:
    WindowHarness();
    ~WindowHarness();

    // Builds the window and runs its start-up, as the program does, over the
    // given media engine or else the fake one.
    MainWindow& start(MediaEngine* engine = nullptr);
    MainWindow& window() { return *window_; }

    std::string path(const std::string& name) const;
    void writeFile(const std::string& name, const std::string& bytes) const;
    std::string readFile(const std::string& name) const;
    bool exists(const std::string& name) const;
    // The value stored in the settings file under key, or "ERROR".
    std::string setting(const std::string& key) const;
    void setSetting(const std::string& key, const std::string& value) const;

    QTemporaryDir folder;
    FakeDialogs dialogs;
    FakeMediaEngine media;
    FakeMixer mixer;
    FakeLauncher launcher;
    int programEnds = 0;
    // Reads the songs' tags for the list in place of the program's reader, when set.
    SongInfoReading readTags;

  private:
    std::unique_ptr<MainWindow> window_;
};

}  // namespace melvo::test
