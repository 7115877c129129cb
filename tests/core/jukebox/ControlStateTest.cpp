// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// What may be done next is the player core's rule, read by the window and the
// desktop controls alike: tested on the core alone, without a window.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <functional>

#include "core/jukebox/Jukebox.h"
#include "support/CoreFakes.h"
#include "support/CoreProbe.h"

namespace melvo::test {
namespace {

// The flags as play, pause, resume, stop, add, delete, automatic play, next,
// previous: "1" where the command may be used.
std::string flags(const ControlState& s) {
    std::string text;
    for (bool flag :
         {s.play, s.pause, s.resume, s.stop, s.add, s.remove, s.autoPlay, s.next, s.previous})
        text += flag ? '1' : '0';
    return text;
}

struct Core {
    Core() : jukebox(folder.path(), media, mixer) {
        for (const char* name : {"a.mp3", "b.mp3"}) std::ofstream(path(name)) << "mp3";
    }
    std::string path(const char* name) const { return folder.path().toStdString() + "/" + name; }
    // Starts up with the two songs in the list, or none, in the given mode.
    void begin(bool withSongs, bool autoPlay = false) {
        std::ofstream(path("mvMP3.ini")) << "[MUSIC]\r\nAUTO=" << (autoPlay ? 1 : 0) << "\r\n";
        if (withSongs) std::ofstream(path("mvMP3.csv")) << path("a.mp3") << "\r\n" << path("b.mp3");
        jukebox.loadSettings();
        jukebox.loadSongList();
        jukebox.begin();
    }
    void playFirst() {
        jukebox.chooseEntry(0);
        jukebox.play();
    }
    // The song plays to its end while repeat is off.
    void endSong() {
        media.finish(path("a.mp3"));
        pollPosition(jukebox);
    }

    QTemporaryDir folder;
    FakeMediaEngine media;
    FakeMixer mixer;
    Jukebox jukebox;
};

TEST(ControlState, EachCommandLeavesTheFlagsTheWindowAndTheDesktopRead) {
    struct Row {
        const char* name;
        std::function<void(Core&)> before;
        std::function<void(Core&)> command;
        const char* after;  // see flags()
        int pausesAndResumes = 0;
    };
    const Row rows[] = {
        {"start-up with no songs", [](Core&) {}, [](Core& c) { c.begin(false); }, "000010000"},
        {"start-up by hand", [](Core&) {}, [](Core& c) { c.begin(true); }, "111111111"},
        {"start-up in automatic play", [](Core&) {}, [](Core& c) { c.begin(true, true); },
         "000100111"},
        {"play", [](Core& c) { c.begin(true); }, [](Core& c) { c.playFirst(); }, "111100111"},
        {"stop",
         [](Core& c) {
             c.begin(true);
             c.playFirst();
         },
         [](Core& c) { c.jukebox.stop(); }, "100111111"},
        {"automatic play", [](Core& c) { c.begin(true); },
         [](Core& c) { c.jukebox.startAutoPlay(); }, "011100111"},
        {"a song added to an empty list", [](Core& c) { c.begin(false); },
         [](Core& c) { c.jukebox.addSongFiles({c.path("a.mp3")}); }, "100111111"},
        {"a song added while one plays: appended, nothing else changes",
         [](Core& c) {
             c.begin(true);
             c.playFirst();
         },
         [](Core& c) { c.jukebox.addSongFiles({c.path("b.mp3")}); }, "111100111"},
        {"the first entry deleted", [](Core& c) { c.begin(true); },
         [](Core& c) { c.jukebox.deleteEntry(0); }, "000110000"},
        {"pause and resume after the song ended: nothing to pause or resume",
         [](Core& c) {
             c.begin(true);
             c.playFirst();
             c.endSong();
         },
         [](Core& c) {
             c.jukebox.pause();
             c.jukebox.resume();
         },
         "111100111"},
        {"pause and resume of a playing song",
         [](Core& c) {
             c.begin(true);
             c.playFirst();
         },
         [](Core& c) {
             c.jukebox.pause();
             c.jukebox.resume();
         },
         "111100111", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Core core;
        row.before(core);
        std::string announced;
        int pausesAndResumes = 0;
        const Transport& transport = core.jukebox.transport();
        QObject::connect(&core.jukebox, &Jukebox::controlsChanged,
                         [&](const ControlState& s) { announced = flags(s); });
        QObject::connect(&transport, &Transport::songPaused, [&] { ++pausesAndResumes; });
        QObject::connect(&transport, &Transport::songResumed, [&] { ++pausesAndResumes; });
        row.command(core);
        EXPECT_EQ(flags(core.jukebox.controls()), row.after);
        if (!announced.empty()) {
            EXPECT_EQ(announced, row.after);
        }
        EXPECT_EQ(pausesAndResumes, row.pausesAndResumes);
        EXPECT_FALSE(transport.isPaused() && transport.mode() == MediaMode::Closed);
    }
}

}  // namespace
}  // namespace melvo::test
