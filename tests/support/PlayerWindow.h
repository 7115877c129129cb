// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A started main window with songs in its list, for tests that play them
// through the engine double. The timers that would start songs or show the
// empty-list notice on their own are stopped, and start-up messages dropped.
#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QTimer>
#include <string>
#include <vector>

#include "support/WindowHarness.h"
#include "window/library/SongListModel.h"

namespace melvo::test {

class PlayerWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        w = &h.start();
        timer(w->jukebox, "autoPlayTimer")->stop();
        timer(w->jukebox, "noSongsNoticeTimer")->stop();
        h.dialogs.messages.clear();
        h.dialogs.icons.clear();
    }

    // Appends songs to the entries and the rows, each with the given length.
    void addSongs(const std::vector<std::string>& paths, std::int64_t lengthMs = 215'040) {
        for (const std::string& path : paths) h.media.lengths[path] = lengthMs;
        w->jukebox.appendEntries(paths);
    }

    // Makes the entry current and its song the chosen one, as the choice of
    // the next song does; its row is not selected yet.
    void chooseEntry(int index) { w->jukebox.chooseEntry(index); }

    // Selects the entry as a click on its row does.
    void choose(int index) {
        chooseEntry(index);
        w->songListPanel->selectRow(index);
    }

    void play(int index) {
        choose(index);
        w->jukebox.play();
    }

    const std::string& song(int index) const {
        return w->jukebox.songList().entries().entry(index);
    }

    WindowHarness h;
    MainWindow* w = nullptr;
};

}  // namespace melvo::test
