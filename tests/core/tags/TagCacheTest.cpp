// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The tag cache through the scanner, run after run over the same songs: what
// is read again, and that every song's tags still arrive, in time, when the
// cache file is damaged, locked, cannot be made or fills the disk.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "core/tags/TagScanner.h"

namespace melvo {
namespace {

struct Fixture {
    QTemporaryDir folder;
    std::string cacheFile = folder.filePath("cache/tags.sqlite").toStdString();
    std::vector<std::string> songs;
    sqlite3* locker = nullptr;
    std::string mountPoint;

    std::string path(const char* name) const { return folder.filePath(name).toStdString(); }
    void write(const std::string& file, const std::string& bytes) const {
        std::ofstream(file, std::ios::binary) << bytes;
    }
};

struct Outcome {
    int reads = 0;
    std::map<std::string, std::string> titles;  // by path
    qint64 ms = 0;
};

// The song's title is its file's text, so that a file read again shows it.
Outcome scan(const Fixture& f) {
    Outcome run;
    std::atomic<int> reads = 0;
    QElapsedTimer clock;
    clock.start();
    {
        TagScanner scanner(f.cacheFile, "test", [&reads](const std::string& path) {
            ++reads;
            std::ifstream file(path);
            std::optional<SongInfo> info(std::in_place);
            info->title.assign(std::istreambuf_iterator(file), {});
            return info;
        });
        QObject::connect(&scanner, &TagScanner::songsScanned, [&run](const auto& songs) {
            for (const ScannedSong& song : songs) run.titles[song.path] = song.info->title;
        });
        scanner.scan(f.songs);
        while (run.titles.size() < f.songs.size() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    run.ms = clock.elapsed();
    run.reads = reads;
    return run;
}

void changeSize(Fixture& f) { f.write(f.songs[1], "two, longer"); }

TEST(TagCache, FailuresAreSkippedOrRebuiltAndChangedFilesAreReadAgain) {
    struct Case {
        const char* name;
        std::function<bool(Fixture&)> setUp;  // before the first run; false: skip
        std::function<void(Fixture&)> spoil;  // before the second run
        std::function<void(Fixture&)> mend;   // before the third run
        int secondReads;
        int thirdReads;
    };
    const auto nothing = [](Fixture&) {};
    const auto always = [](Fixture&) { return true; };
    const Case cases[] = {
        {"unchanged", always, nothing, nothing, 0, 0},
        {"size changed", always, changeSize, nothing, 1, 0},
        {"modification time changed", always,
         [](Fixture& f) {
             const timespec times[2] = {{0, UTIME_OMIT}, {1'000'000'000, 123}};
             ASSERT_EQ(::utimensat(AT_FDCWD, f.songs[2].c_str(), times, 0), 0);
         },
         nothing, 1, 0},
        {"damaged: no database", always,
         [](Fixture& f) { f.write(f.cacheFile, std::string(8192, 'x')); }, nothing, 3, 0},
        {"damaged: every table's pages", always,
         [](Fixture& f) {
             std::fstream file(f.cacheFile, std::ios::in | std::ios::out | std::ios::binary);
             file.seekp(4096);
             file << std::string(std::filesystem::file_size(f.cacheFile) - 4096, '\xa5');
         },
         nothing, 3, 0},
        {"locked by another program", always,
         [](Fixture& f) {
             changeSize(f);
             ASSERT_EQ(sqlite3_open(f.cacheFile.c_str(), &f.locker), SQLITE_OK);
             ASSERT_EQ(sqlite3_exec(f.locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr),
                       SQLITE_OK);
         },
         [](Fixture& f) { sqlite3_close(f.locker); }, 1, 1},
        {"folder cannot be made",
         [](Fixture& f) {
             f.write(f.path("file"), "");
             f.cacheFile = f.path("file/tags.sqlite");
             return true;
         },
         nothing, nothing, 3, 3},
        {"disk full",
         [](Fixture& f) {
             f.mountPoint = f.path("small");
             ::mkdir(f.mountPoint.c_str(), 0700);
             f.cacheFile = f.mountPoint + "/tags.sqlite";
             return ::mount("tmpfs", f.mountPoint.c_str(), "tmpfs", 0, "size=256k") == 0;
         },
         [](Fixture& f) {
             changeSize(f);
             f.write(f.mountPoint + "/filler", std::string(1 << 20, 'x'));
         },
         // Nothing is read from a full disk either: the cache's shared-memory file cannot be made.
         [](Fixture& f) { ::unlink((f.mountPoint + "/filler").c_str()); }, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (!c.setUp(f)) {
            std::printf("[  SKIPPED ] %s: no tmpfs can be mounted here\n", c.name);
            continue;
        }
        for (const char* name : {"one.mp3", "two.mp3", "three.mp3"}) {
            f.songs.push_back(f.path(name));
            f.write(f.songs.back(), name);
        }
        EXPECT_EQ(scan(f).reads, 3);
        c.spoil(f);
        const Outcome second = scan(f);
        c.mend(f);
        const Outcome third = scan(f);
        EXPECT_EQ(second.reads, c.secondReads);
        EXPECT_EQ(third.reads, c.thirdReads);
        for (const Outcome* run : {&second, &third}) {
            EXPECT_LT(run->ms, 2000);
            ASSERT_EQ(run->titles.size(), 3u);
            std::ifstream changed(f.songs[1]);
            EXPECT_EQ(run->titles.at(f.songs[1]),
                      std::string(std::istreambuf_iterator(changed), {}));
        }
        if (!f.mountPoint.empty()) ::umount(f.mountPoint.c_str());
    }
}

}  // namespace
}  // namespace melvo
