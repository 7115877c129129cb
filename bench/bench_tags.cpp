// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The list's tags at start-up, with a long list of tagged songs.
//
//   bench_tags [SONGS]
//
// Tags four copies of a fixture song with eyeD3 (titles, artists and albums
// in Japanese) and makes SONGS hard links of them (default 10,000) in folders
// of 100, written as the song list. Then starts the window three times, each
// in a process of its own over the same data folder: without reading tags
// (the start-up as it was before the list had tags), the first start (no tag
// cache yet) and a later start (from the cache). For each it prints the time
// to the window shown, the time from the window shown until every row has its
// tags, the window's longest pause meanwhile (the largest gap between two
// ticks of a 10 ms timer in the window's thread) and the peak resident memory.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/tags/TagScanner.h"
#include "support/Fakes.h"
#include "window/library/SongListModel.h"
#include "window/library/SongListPanel.h"
#include "window/main/MainWindow.h"

namespace {

double msSince(const QElapsedTimer& clock) {
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Makes the songs and the list file in root; false when eyeD3 failed.
bool makeSongs(const std::string& root, int songs) {
    std::vector<std::string> originals;
    for (int i = 0; i < 4; ++i) {
        // A file takes some tens of thousands of links at most.
        for (int k = 0; k <= songs / 40000; ++k) {
            const std::string copy =
                root + "/original " + std::to_string(i) + "-" + std::to_string(k) + ".mp3";
            std::filesystem::copy_file(std::string(MELVO_FIXTURE_DIR) + "/tone440.mp3", copy);
            const std::string tag = "eyeD3 -Q --to-v2.3 -t '曲 " + std::to_string(i) +
                                    "' -a 'アーティスト " + std::to_string(i) + "' -A 'アルバム " +
                                    std::to_string(k) + "' '" + copy + "' >/dev/null 2>&1";
            if (std::system(tag.c_str()) != 0) return false;
            originals.push_back(copy);
        }
    }
    std::string list;
    for (int i = 0; i < songs; ++i) {
        const std::string album = root + "/フォルダー " + std::to_string(i / 100);
        if (i % 100 == 0) std::filesystem::create_directories(album);
        const std::string song = album + "/曲 " + std::to_string(i % 100) + ".mp3";
        if (::link(originals[static_cast<size_t>(i) % originals.size()].c_str(), song.c_str())) {
            std::perror("link");
            return false;
        }
        list += song + "\r\n";
    }
    std::ofstream(root + "/mvMP3.csv", std::ios::binary) << list;
    return true;
}

// One start of the window over the data folder, in this process.
int start(int argc, char** argv, const QString& folder, int songs, const char* label,
          bool readTags) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    melvo::test::FakeDialogs dialogs;
    melvo::test::FakeMediaEngine media;
    melvo::test::FakeMixer mixer;
    melvo::test::FakeLauncher launcher;

    QElapsedTimer clock;
    clock.start();
    melvo::MainWindow window(folder, {dialogs, media, mixer, launcher});
    window.endProgram = [] {};
    if (!readTags) window.tagScanner->setReading("none", {});
    int scanned = 0;
    QObject::connect(window.tagScanner, &melvo::TagScanner::songsScanned,
                     [&scanned](const auto& batch) { scanned += static_cast<int>(batch.size()); });
    window.startUp();
    window.show();
    QCoreApplication::processEvents();
    const double shownMs = msSince(clock);

    QElapsedTimer sinceTick;
    sinceTick.start();
    double longestPauseMs = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestPauseMs = std::max(longestPauseMs, msSince(sinceTick));
        sinceTick.restart();
    });
    tick.start(10);
    clock.restart();
    // Without tags the window is watched for half a second.
    while (readTags ? scanned < songs && clock.elapsed() < 60000 : clock.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const double tagsMs = msSince(clock);
    longestPauseMs = std::max(longestPauseMs, msSince(sinceTick));

    const melvo::SongListModel& rows = *window.songListPanel->rows();
    if (readTags && (rows.rowCount() != songs || rows.artist(songs - 1).isEmpty())) {
        std::fprintf(stderr, "%s: %d of %d rows have their tags\n", label, scanned, songs);
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "%7d songs  %-13s window shown %7.1f ms  all tags %7.1f ms after  "
        "longest pause %5.1f ms  peak %6.1f MiB\n",
        songs, label, shownMs, readTags ? tagsMs : 0.0, longestPauseMs,
        static_cast<double>(usage.ru_maxrss) / 1024.0);
    window.exitProgram();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int songs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 10000);
    QTemporaryDir folder;
    if (!makeSongs(folder.path().toStdString(), songs)) {
        std::fprintf(stderr, "could not make the tagged songs (is eyeD3 installed?)\n");
        return 1;
    }
    struct Start {
        const char* label;
        bool readTags;
    };
    for (const Start& s :
         {Start{"without tags", false}, Start{"first start", true}, Start{"later start", true}}) {
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            const int status = start(argc, argv, folder.path(), songs, s.label, s.readTags);
            std::fflush(nullptr);
            _exit(status);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
    }
    return 0;
}
