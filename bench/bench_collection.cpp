// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Adding a whole collection: a folder tree through the window's menu, and a
// long playlist read and written.
//
//   bench_collection [SONGS [PLAYLIST_SONGS]]
//
// Makes SONGS hard links (default 10,000) of a few real MP3 files in 500
// sub-folders of a temporary folder and adds the folder through the window's
// "フォルダーの追加..." item, over the test doubles. Prints the time from the
// choice to the rows shown, the window's longest pause meanwhile (the largest
// gap between two ticks of a 10 ms timer in the window's thread), and the peak
// resident memory. Then writes PLAYLIST_SONGS (default 100,000) existing songs
// as an M3U8 playlist and reads it back, and prints both times; then reads it
// through the window's menu (to the rows shown) and writes the whole list
// through it.
#include <sys/resource.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/library/Playlist.h"
#include "support/Fakes.h"
#include "window/library/SongListModel.h"
#include "window/library/SongListPanel.h"
#include "window/main/MainWindow.h"

namespace {

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Hard links of a few fixture files, as many songs as asked in that many
// folders; answers their paths.
std::vector<std::string> makeTree(const std::string& root, int songs, int folders) {
    const char* originals[] = {"cbr_tag.mp3", "vbr_tag.mp3", "tone440.mp3", "steps.mp3"};
    std::filesystem::create_directories(root);
    std::vector<std::string> copies;
    for (int i = 0; i < 4; ++i) {
        // A file takes some tens of thousands of links at most.
        for (int k = 0; k <= songs / 40000; ++k) {
            copies.push_back(root + "/original " + std::to_string(i) + "-" + std::to_string(k));
            std::filesystem::copy_file(std::string(MELVO_FIXTURE_DIR) + "/" + originals[i],
                                       copies.back());
        }
    }
    std::vector<std::string> paths;
    const int perFolder = (songs + folders - 1) / folders;
    for (int i = 0; i < songs; ++i) {
        const std::string album = root + "/tree/アルバム " + std::to_string(i / perFolder + 1);
        if (i % perFolder == 0) std::filesystem::create_directories(album);
        paths.push_back(album + "/" + std::to_string(i % perFolder + 1) + " 曲.mp3");
        if (::link(copies[static_cast<size_t>(i) % copies.size()].c_str(), paths.back().c_str())) {
            std::perror("link");
            std::exit(1);
        }
    }
    return paths;
}

// The window's own heartbeat while an item of the file menu adds songs: the
// time from the choice until the rows are shown, and the longest gap between
// two ticks of a 10 ms timer (the window's longest pause).
struct Timed {
    double ms = 0;
    double longestPauseMs = 0;
};

Timed addThroughWindow(melvo::MainWindow& window, QAction* item, int rowsAfter) {
    QElapsedTimer sinceTick;
    Timed timed;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        timed.longestPauseMs = std::max(timed.longestPauseMs, msSince(sinceTick));
        sinceTick.restart();
    });
    tick.start(10);
    sinceTick.start();
    QElapsedTimer clock;
    clock.start();
    item->trigger();
    const melvo::SongListModel& rows = *window.songListPanel->rows();
    while (rows.rowCount() < rowsAfter && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents();  // the rows are painted
    timed.ms = msSince(clock);
    return timed;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int songs = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int playlistSongs = argc > 2 ? std::atoi(argv[2]) : 100000;

    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
    makeTree(root + "/walk", songs, 500);

    melvo::test::FakeDialogs dialogs;
    melvo::test::FakeMediaEngine media;
    melvo::test::FakeMixer mixer;
    melvo::test::FakeLauncher launcher;
    melvo::MainWindow window(folder.path(), {dialogs, media, mixer, launcher});
    window.endProgram = [] {};
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    const double peakBefore = peakMiB();

    dialogs.chosenFolder = QString::fromStdString(root + "/walk/tree");
    const Timed walk = addThroughWindow(window, window.addFolderMenuItem, songs);
    if (window.songListPanel->rows()->rowCount() != songs || !dialogs.messages.empty()) {
        std::fprintf(stderr, "added %d of %d songs\n", window.songListPanel->rows()->rowCount(),
                     songs);
        return 1;
    }
    std::printf(
        "folder of %d songs in 500 folders: %.0f ms from the choice to the rows, "
        "longest pause %.1f ms, peak %.1f MiB (%.1f before)\n",
        songs, walk.ms, walk.longestPauseMs, peakMiB(), peakBefore);

    const std::vector<std::string> listed = makeTree(root + "/list", playlistSongs, 1000);
    const std::string playlist = root + "/list.m3u8";
    QElapsedTimer clock;
    clock.start();
    if (melvo::writePlaylist(playlist, listed) != 0) return 1;
    const double writeMs = msSince(clock);
    clock.restart();
    melvo::SearchControl control;
    const melvo::PlaylistRead read = melvo::readPlaylist(playlist, control);
    const double readMs = msSince(clock);
    if (read.songs != listed) {
        std::fprintf(stderr, "read %zu of %zu songs\n", read.songs.size(), listed.size());
        return 1;
    }
    dialogs.chosenFile = QString::fromStdString(playlist);
    const Timed shown =
        addThroughWindow(window, window.readPlaylistMenuItem, songs + playlistSongs);
    dialogs.savedFile = QString::fromStdString(root + "/all.m3u8");
    clock.restart();
    window.writePlaylistMenuItem->trigger();
    const double writeAllMs = msSince(clock);
    std::printf(
        "playlist of %d songs: written in %.0f ms, read in %.0f ms; through the window "
        "read and shown in %.0f ms (longest pause %.1f ms), the whole list of %d "
        "written in %.0f ms; peak %.1f MiB\n",
        playlistSongs, writeMs, readMs, shown.ms, shown.longestPauseMs, songs + playlistSongs,
        writeAllMs, peakMiB());
    return 0;
}
