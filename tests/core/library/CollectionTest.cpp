// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Finding songs without a window: folders walked for MP3 files, playlists
// read, and the playlist the list is written to read back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/library/FolderWalk.h"
#include "core/library/Playlist.h"
#include "core/library/SongListFile.h"
#include "support/ByteFolder.h"
#include "support/RandomBytes.h"

namespace melvo {
namespace {

using Names = std::vector<std::string>;

// Makes each file (and its folders) under the folder, with a little content.
void makeFiles(const test::ByteFolder& f, const Names& names) {
    for (const std::string& name : names) {
        std::filesystem::create_directories(std::filesystem::path(f.path(name)).parent_path());
        f.write(name, "ID3");
    }
}

Names relativeTo(const test::ByteFolder& f, const std::vector<std::string>& paths) {
    Names names;
    for (const std::string& path : paths) names.push_back(path.substr(f.root.size() + 1));
    return names;
}

TEST(FolderWalk, FolderByFolderInNaturalOrderOnceEach) {
    test::ByteFolder f;
    makeFiles(f, {"m/10 夕暮れ.mp3", "m/2 夜明け.mp3", "m/B.MP3", "m/a.Mp3", "m/notes.txt",
                  "m/c.mp3.wav", "m/disc 10/x.mp3", "m/disc 2/x.mp3", "m/disc 2/deep/y.mp3",
                  "m/song.mp3/z.mp3", "m/two\rlines.mp3", "m/odd\nfolder/w.mp3", "closed/s.mp3"});
    std::filesystem::create_directory_symlink("..", f.path("m/disc 2/loop"));
    std::filesystem::create_directory_symlink(f.path("m/disc 10"), f.path("again"));
    std::filesystem::create_symlink(f.path("m/a.Mp3"), f.path("m/link.mp3"));
    std::filesystem::create_symlink(f.path("nowhere"), f.path("m/dangling.mp3"));
    ::chmod(f.path("closed").c_str(), 0);
    const bool permissionsHold = ::geteuid() != 0;  // the superuser reads every folder

    struct Case {
        const char* what;
        Names roots;
        Names songs;
        int unreadable;
        int unlistable;
        bool cancelled;
    };
    const Names allOfM = {
        "m/2 夜明け.mp3", "m/10 夕暮れ.mp3",     "m/a.Mp3",         "m/B.MP3",         "m/link.mp3",
        "m/disc 2/x.mp3", "m/disc 2/deep/y.mp3", "m/disc 10/x.mp3", "m/song.mp3/z.mp3"};
    const Case cases[] = {
        {"a tree with a loop, links and names the list cannot hold", {"m"}, allOfM, 0, 2, false},
        {"a folder reached again through a link is walked once",
         {"again", "m/disc 10"},
         {"again/x.mp3"},
         0,
         0,
         false},
        {"a root given with a trailing slash and dots",
         {"m/./disc 10/"},
         {"m/disc 10/x.mp3"},
         0,
         0,
         false},
        {"an unreadable folder", {"closed", "m/disc 10"}, {"m/disc 10/x.mp3"}, 1, 0, false},
        {"a cancelled walk", {"m"}, {}, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.unreadable && !permissionsHold) continue;
        SearchControl control;
        control.cancelled = c.cancelled;
        Names roots;
        for (const std::string& root : c.roots) roots.push_back(f.path(root));
        const FolderWalkResult walk = walkFolders(roots, control);
        EXPECT_EQ(relativeTo(f, walk.songs), c.songs);
        EXPECT_EQ(control.found, static_cast<int>(c.songs.size()));
        EXPECT_EQ(walk.unreadableFolders, c.unreadable);
        EXPECT_EQ(walk.unlistableNames, c.unlistable);
        EXPECT_EQ(walk.cancelled, c.cancelled);
    }
    ::chmod(f.path("closed").c_str(), 0700);
}

TEST(Playlist, EveryKindOfLineInBothEncodings) {
    test::ByteFolder f;
    makeFiles(f, {"p/a.mp3", "p/sub/b.MP3", "p/日本語/曲.mp3", "p/sp ace.mp3", "p/notes.txt",
                  "p/caf\xE9.mp3", "p/x/y.mp3"});
    const std::string p = f.path("p");
    const std::string odd("zero.mp3\npipe.mp3\nself.mp3\na.mp3\0/p/a.mp3\n", 41);
    struct Case {
        const char* name;
        std::string bytes;
        Names songs;
        int missing, folders, itself, others;
    };
    const Case cases[] = {
        {"all.m3u8",
         "#EXTM3U\n#EXTINF:12,Title\n# a note\n\n  \na.mp3\n" + p + "/sub/b.MP3\r\nfile://" + p +
             "/sp%20ace.mp3\r" + "FILE://localhost" + p +
             "/a.mp3\nfile://elsewhere/a.mp3\nhttp://example.org/a.mp3\ngone.mp3\nsub\n"
             "all.m3u8\nnotes.txt\nx/../sub/./b.MP3\n",
         {"p/a.mp3", "p/sub/b.MP3", "p/sp ace.mp3", "p/a.mp3", "p/sub/b.MP3"},
         1,
         1,
         1,
         3},
        {"windows.m3u",
         "#EXTM3U\r\n\x93\xfa\x96{\x8c\xea\\\x8b\xc8.mp3\r\nx\\y.mp3\r\n",
         {"p/日本語/曲.mp3", "p/x/y.mp3"},
         0,
         0,
         0,
         0},
        {"bom.m3u", "\xEF\xBB\xBF日本語/曲.mp3\n", {"p/日本語/曲.mp3"}, 0, 0, 0, 0},
        {"bytes.m3u8", "caf\xE9.mp3\n", {"p/caf\xE9.mp3"}, 0, 0, 0, 0},
        {"empty.m3u", "", {}, 0, 0, 0, 0},
        {"odd.m3u8", odd, {}, 1, 0, 1, 2},  // a device, a pipe, itself, a NUL
    };
    std::filesystem::create_symlink("/dev/zero", f.path("p/zero.mp3"));
    ::mkfifo(f.path("p/pipe.mp3").c_str(), 0644);
    std::filesystem::create_symlink("odd.m3u8", f.path("p/self.mp3"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.write(std::string("p/") + c.name, c.bytes);
        SearchControl control;
        const PlaylistRead read = readPlaylist(f.path(std::string("p/") + c.name), control);
        EXPECT_EQ(read.status, FileRead::Status::Read);
        EXPECT_EQ(relativeTo(f, read.songs), c.songs);
        EXPECT_EQ(read.missing, c.missing);
        EXPECT_EQ(read.folders, c.folders);
        EXPECT_EQ(read.itself, c.itself);
        EXPECT_EQ(read.others, c.others);
    }
    SearchControl control;
    EXPECT_EQ(readPlaylist(f.path("p/none.m3u"), control).status, FileRead::Status::Absent);
    EXPECT_EQ(readPlaylist(p, control).status, FileRead::Status::NotRegular);

    // What is written reads back as the same songs, names as bytes, repeats kept.
    const Names written = {f.path("p/caf\xE9.mp3"), f.path("p/a.mp3"), f.path("p/sp ace.mp3"),
                           f.path("p/a.mp3")};
    ASSERT_EQ(writePlaylist(f.path("p/out.m3u8"), written), 0);
    EXPECT_EQ(f.read("p/out.m3u8"), "#EXTM3U\n" + written[0] + "\n" + written[1] + "\n" +
                                        written[2] + "\n" + written[3] + "\n");
    EXPECT_EQ(readPlaylist(f.path("p/out.m3u8"), control).songs, written);
    EXPECT_NE(writePlaylist(f.path("p/sub"), written), 0) << "a folder is never replaced";
}

// Random and mutated playlists give only songs that are regular files the list can hold.
TEST(Playlist, AnyBytesGiveOnlySongsTheListCanHold) {
    test::ByteFolder f;
    makeFiles(f, {"a.mp3", "sub/b.MP3"});
    test::RandomBytes random;
    for (int i = 0; i < 500; ++i) {
        f.write("list.m3u", random.next("#EXTM3U\na.mp3\r\nsub\\b.MP3\nfile:///%61.mp3\n\x93\xfa"));
        SearchControl control;
        for (const std::string& song : readPlaylist(f.path("list.m3u"), control).songs)
            ASSERT_TRUE(canBeListed(song) && isRegularFile(song)) << i;
    }
}

// Reading 32 MB of blank and comment lines (none in a song list) takes little
// more memory than the bytes themselves: peak resident size, reset before each.
TEST(Playlist, BlankLinesCostNoMemoryWhileRead) {
    test::ByteFolder f;
    constexpr long kBytes = 32 << 20;
    f.write("blank.m3u", std::string(kBytes, '\n').replace(0, 3, "#x\r"));
    f.write("blank.csv", std::string(kBytes, '\n'));
    const auto peakKb = [] {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line) && !line.starts_with("VmHWM:")) continue;
        return line.empty() ? 0L : std::stol(line.substr(6));
    };
    SearchControl control;
    for (int reader = 0; reader < 2; ++reader) {
        if (!(std::ofstream("/proc/self/clear_refs") << "5")) GTEST_SKIP() << "no resettable peak";
        const long before = peakKb();
        EXPECT_TRUE(reader ? loadSongListFile(f.path("blank.csv"), "6553").heldNoSongs()
                           : readPlaylist(f.path("blank.m3u"), control).songs.empty());
        EXPECT_LE(peakKb() - before, kBytes / 1024 * 2);
    }
}

}  // namespace
}  // namespace melvo
