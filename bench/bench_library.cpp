// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Start-up and exit of the main window with a long song list.
//
//   bench_library SONGS
//
// Makes SONGS hard links to one small file (100 to a folder) in a temporary
// folder, writes them as the song list, then times the window's start-up
// (construction, startUp, show, events processed) and its exit with the save.
// Prints one line: songs, start-up ms (with its parts: the window built, the
// list loaded, the window shown) and processor ms, exit ms and processor ms,
// peak resident MiB.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/Fakes.h"
#include "window/main/MainWindow.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int songs = argc > 1 ? std::atoi(argv[1]) : 0;

    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
    // A file takes some tens of thousands of links at most: one original per 10,000 songs.
    const auto original = [&](int song) {
        return root + "/original " + std::to_string(song / 10000) + ".mp3";
    };
    std::string list;
    for (int i = 0; i < songs; ++i) {
        const std::string album = root + "/アルバム " + std::to_string(i / 100);
        if (i % 100 == 0) QDir().mkpath(QString::fromStdString(album));
        const std::string song = album + "/曲 " + std::to_string(i % 100) + ".mp3";
        if (i % 10000 == 0) std::ofstream(original(i), std::ios::binary) << std::string(1024, '\0');
        if (::link(original(i).c_str(), song.c_str()) != 0) {
            std::perror("link");
            return 1;
        }
        list += song;
        list += i % 3 == 0 ? ", 3000\r\n" : "\r\n";
    }
    std::ofstream(root + "/mvMP3.csv", std::ios::binary) << list;

    melvo::test::FakeDialogs dialogs;
    melvo::test::FakeMediaEngine media;
    melvo::test::FakeMixer mixer;
    melvo::test::FakeLauncher launcher;

    // Processor time too: on a shared machine the wall clock also counts others' work.
    const auto cpuMs = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
        return ms(usage.ru_utime) + ms(usage.ru_stime);
    };
    const double cpuBefore = cpuMs();
    QElapsedTimer clock;
    clock.start();
    melvo::MainWindow window(folder.path(), {dialogs, media, mixer, launcher});
    window.endProgram = [] {};
    const double builtMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    window.startUp();
    const double loadedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    window.show();
    QCoreApplication::processEvents();
    const double startupMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const double startupCpuMs = cpuMs() - cpuBefore;

    clock.restart();
    window.exitProgram();
    const double saveMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    const double saveCpuMs = cpuMs() - cpuBefore - startupCpuMs;

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    if (window.jukebox.songList().entries().count() != songs || !dialogs.messages.empty()) {
        std::fprintf(stderr, "loaded %d of %d songs\n", window.jukebox.songList().entries().count(),
                     songs);
        return 1;
    }
    std::printf(
        "%7d songs  start-up %6.1f ms (window %5.1f, load %6.1f, shown %5.1f; cpu %6.1f)  "
        "exit with save %6.1f ms (cpu %5.1f)  peak %5.1f MiB\n",
        songs, startupMs, builtMs, loadedMs - builtMs, startupMs - loadedMs, startupCpuMs, saveMs,
        saveCpuMs, static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
