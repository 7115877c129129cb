// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song list file's line rules, without a window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "core/common/TextFile.h"
#include "core/library/SongListFile.h"
#include "support/ByteFolder.h"

namespace melvo {
namespace {

TEST(SongListFile, FieldCountsAndTheFirstLineThatHoldsASong) {
    EXPECT_EQ(countFields(""), 0);
    EXPECT_EQ(countFields("/m/a.mp3"), 1);
    EXPECT_EQ(countFields("/m/a.mp3,"), 2);
    EXPECT_EQ(countFields(",,"), 3);

    EXPECT_EQ(countFirstLineFields(""), 0);
    EXPECT_EQ(countFirstLineFields("\r\n\r\r\n"), 0);
    EXPECT_EQ(countFirstLineFields("\r\n\r/m/a.mp3, 5\r\n/m/b.mp3"), 2);
    EXPECT_EQ(countFirstLineFields("/m/a,b,c.mp3"), 3);
    // A lone LF is part of the line, not its end.
    EXPECT_EQ(countFirstLineFields("\n\r\n"), 1);
}

TEST(SongListFile, EntryParts) {
    struct Case {
        const char* entry;
        const char* path;
        const char* volume;
        bool hasVolume;
    };
    const Case cases[] = {
        {"/m/a.mp3", "/m/a.mp3", "", false},
        {"/m/a.mp3, 1500", "/m/a.mp3", " 1500", true},
        {"/m/a.mp3,1500", "/m/a.mp3", "1500", true},
        {"/m/a.mp3,-12", "/m/a.mp3", "-12", true},
        {"/m/a.mp3, 15.5 ", "/m/a.mp3", " 15.5 ", true},
        {"/m/a.mp3,", "/m/a.mp3", "", true},
        {"/m/a,b.mp3", "/m/a,b.mp3", "", false},
        {"/m/a, 1.mp3", "/m/a, 1.mp3", "", false},
        {"/m/x,y/z.mp3", "/m/x,y/z.mp3", "", false},
        {"/m/a,b.mp3, 200", "/m/a,b.mp3", " 200", true},
        {"/m/x,y/z.mp3,7", "/m/x,y/z.mp3", "7", true},
        {"/m/a.mp3,.", "/m/a.mp3,.", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(entryPath(c.entry), c.path);
        EXPECT_EQ(entryVolumeText(c.entry), c.volume);
        EXPECT_EQ(entryHasVolume(c.entry), c.hasVolume);
    }
}

TEST(SongListFile, LinesBecomeEntriesThatReadBackAsTheSameSong) {
    const std::set<std::string> files = {"/m/a.mp3", "/m/a,b.mp3", "/m/take,2", "/m/p,q,r.mp3",
                                         "/m/a.mp3, 1500"};
    const FileTest exists = [&](const std::string& path) { return files.count(path) > 0; };
    const auto load = [&](const std::string& line) {
        return songEntryForLine(line, " 6553", exists);
    };

    // Lines that read as they are stay unchanged.
    for (const char* line : {"/m/a.mp3", "/m/a.mp3, 1500", "/m/a.mp3,1500", "/m/a.mp3,",
                             "/m/a,b.mp3", "/m/a,b.mp3, 20", "/m/a,b.mp3,20", "/m/p,q,r.mp3"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(load(line), line);
    }
    // A path whose last part after a comma is a number carries the initial volume
    // so that it does not read back as a shorter path and a volume.
    EXPECT_EQ(load("/m/take,2"), "/m/take,2, 6553");
    EXPECT_EQ(entryPath(*load("/m/take,2")), "/m/take,2");
    // A volume that is no plain number keeps what it reads as.
    EXPECT_EQ(load("/m/a.mp3,loud"), "/m/a.mp3, 0");
    EXPECT_EQ(load("/m/a,b.mp3,12dB"), "/m/a,b.mp3, 12");
    // Missing songs give nothing.
    EXPECT_EQ(load("/m/gone.mp3"), std::nullopt);
    EXPECT_EQ(load("/m/gone.mp3, 5"), std::nullopt);
    EXPECT_EQ(load("/m/a.mp3,x,y"), std::nullopt);
}

TEST(SongListFile, SongsAddedWithoutAVolume) {
    EXPECT_EQ(songEntryFor("/m/a.mp3", " 6553"), "/m/a.mp3");
    EXPECT_EQ(songEntryFor("/m/a,b.mp3", " 6553"), "/m/a,b.mp3");
    EXPECT_EQ(songEntryFor("/m/x.mp3,5", "-3"), "/m/x.mp3,5,-3");
}

TEST(SongListFile, TextOfTheStore) {
    SongStore store;
    EXPECT_EQ(songListText(store), "");
    store.append("/m/a.mp3");
    store.append("/m/b.mp3, 5");
    EXPECT_EQ(songListText(store), "/m/a.mp3\r\n/m/b.mp3, 5\r\n");
}

}  // namespace
}  // namespace melvo

namespace melvo {
namespace {

TEST(SongListFile, ExistingFilesSeesFilesAndLinksButNotFolders) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    std::ofstream(root + "/a.mp3") << "x";
    QDir().mkdir(dir.filePath("folder.mp3"));
    QFile::link(dir.filePath("a.mp3"), dir.filePath("link.mp3"));
    QFile::link(dir.filePath("folder.mp3"), dir.filePath("folderlink.mp3"));

    ExistingFiles exists;
    EXPECT_TRUE(exists(root + "/a.mp3"));
    EXPECT_TRUE(exists(root + "/link.mp3"));
    EXPECT_FALSE(exists(root + "/folder.mp3"));
    EXPECT_FALSE(exists(root + "/folderlink.mp3"));
    EXPECT_FALSE(exists(root + "/gone.mp3"));
    EXPECT_FALSE(exists(root + "/nowhere/a.mp3"));
    EXPECT_TRUE(exists(root + "/folder.mp3/../a.mp3"));
}

}  // namespace
}  // namespace melvo

namespace melvo {
namespace {

class SongListFiles : public testing::Test, public test::ByteFolder {
  protected:
    SongListFiles() {
        for (const char* name : {"a.mp3", "b.mp3", "曲.mp3", "テスト.mp3", "caf\xE9.mp3"})
            write(name, "x");
    }
    // The text with every "D/" made the test folder, so lines name real files.
    std::string inFolder(std::string text) const {
        for (size_t at = 0; (at = text.find("D/", at)) != std::string::npos; at += root.size() + 1)
            text.replace(at, 2, root + "/");
        return text;
    }
    std::vector<std::string> inFolder(const std::vector<std::string>& texts) const {
        std::vector<std::string> out;
        for (const std::string& text : texts) out.push_back(inFolder(text));
        return out;
    }
    static SongStore storeOf(const std::vector<std::string>& entries) {
        SongStore store;
        for (const std::string& entry : entries) store.append(entry);
        return store;
    }
};

TEST_F(SongListFiles, LinesOfEveryEndAndEncodingLoadAndSaveBackAsCrLfUtf8) {
    const std::string cp932Name = "\x83\x65\x83\x58\x83\x67.mp3";  // テスト.mp3 in CP932
    const struct {
        const char* name;
        std::string file;
        std::vector<std::string> entries;
        std::vector<std::string> missing;
    } cases[] = {
        {"CR LF", "D/a.mp3\r\nD/b.mp3, 5\r\n", {"D/a.mp3", "D/b.mp3, 5"}, {}},
        {"LF", "D/a.mp3\nD/b.mp3\n", {"D/a.mp3", "D/b.mp3"}, {}},
        {"CR", "D/a.mp3\rD/b.mp3", {"D/a.mp3", "D/b.mp3"}, {}},
        {"mixed with empty lines", "\nD/a.mp3\r\n\r\rD/b.mp3\n\n", {"D/a.mp3", "D/b.mp3"}, {}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "D/a.mp3\r\n",
         {"D/a.mp3"},
         {}},
        {"Latin-1 name beside UTF-8 and CP932 lines",
         "D/caf\xE9.mp3\r\nD/曲.mp3, 7\r\nD/" + cp932Name + "\r\nD/gone\xE9.mp3\r\n",
         {"D/caf\xE9.mp3", "D/曲.mp3, 7", "D/テスト.mp3"},
         {"D/gone\xE9.mp3"}},
        {"missing CP932 line shown in its characters", "D/\x89\xb9.mp3, 5\r\n", {}, {"D/音.mp3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("mvMP3.csv", inFolder(c.file));
        const SongListLoad load = loadSongListFile(path("mvMP3.csv"), " 6553");
        EXPECT_EQ(load.status, SongListLoad::Status::Loaded);
        EXPECT_EQ(load.entries, inFolder(c.entries));
        EXPECT_EQ(load.missing, inFolder(c.missing));
        EXPECT_FALSE(load.heldNoSongs());

        ASSERT_EQ(saveSongListFile(path("mvMP3.csv"), storeOf(load.entries)), 0);
        std::string expected;
        for (const std::string& entry : load.entries) expected += entry + "\r\n";
        EXPECT_EQ(read("mvMP3.csv"), expected) << "written back byte for byte, CR LF, no mark";
    }
}

TEST_F(SongListFiles, AbsentOrEmptyFilesHoldNoSongsAndEveryMissingSongDoesNot) {
    EXPECT_EQ(loadSongListFile(path("mvMP3.csv"), " 6553").status, SongListLoad::Status::Absent);
    EXPECT_TRUE(loadSongListFile(path("mvMP3.csv"), " 6553").heldNoSongs());
    for (const char* file : {"", "\r\n\n", "\xEF\xBB\xBF"}) {
        write("mvMP3.csv", file);
        EXPECT_TRUE(loadSongListFile(path("mvMP3.csv"), " 6553").heldNoSongs());
    }
    write("mvMP3.csv", inFolder("D/gone.mp3\r\n"));
    EXPECT_FALSE(loadSongListFile(path("mvMP3.csv"), " 6553").heldNoSongs());
}

TEST_F(SongListFiles, AChangingSaveKeepsThePreviousFileAsBackup) {
    const std::string backup = "mvMP3.csv.bak";
    ASSERT_EQ(saveSongListFile(path("mvMP3.csv"), storeOf({"/m/a.mp3"})), 0);
    EXPECT_FALSE(std::filesystem::exists(path(backup))) << "nothing to keep before the first file";

    // A song whose file is gone from its folder is dropped from the list, and kept in the backup.
    write("mvMP3.csv", inFolder("D/a.mp3\r\nD/gone.mp3, 5\r\n"));
    const SongListLoad load = loadSongListFile(path("mvMP3.csv"), " 6553");
    ASSERT_EQ(saveSongListFile(path("mvMP3.csv"), storeOf(load.entries)), 0);
    EXPECT_EQ(read("mvMP3.csv"), inFolder("D/a.mp3\r\n"));
    EXPECT_EQ(read(backup), inFolder("D/a.mp3\r\nD/gone.mp3, 5\r\n"));

    // An unchanged list writes nothing, so the backup keeps the lost song.
    ASSERT_EQ(saveSongListFile(path("mvMP3.csv"), storeOf(load.entries)), 0);
    EXPECT_EQ(read(backup), inFolder("D/a.mp3\r\nD/gone.mp3, 5\r\n"));

    // One generation only.
    ASSERT_EQ(saveSongListFile(path("mvMP3.csv"), SongStore()), 0);
    EXPECT_EQ(read("mvMP3.csv"), "");
    EXPECT_EQ(read(backup), inFolder("D/a.mp3\r\n"));
}

TEST_F(SongListFiles, SongsOfAMissingFolderAreKeptAsTheyStandAndOthersMissingAreDropped) {
    write("mvMP3.csv", inFolder("D/usb/x.mp3, 5\r\nD/gone.mp3\r\nD/a.mp3\r\nD/usb/y,1.mp3\r\n"
                                "D/usb/\x89\xb9.mp3,x7\r\ngone.mp3\r\n"));
    const SongListLoad load = loadSongListFile(path("mvMP3.csv"), " 6553");
    EXPECT_EQ(load.entries,
              inFolder({"D/usb/x.mp3, 5", "D/a.mp3", "D/usb/y,1.mp3", "D/usb/\x89\xb9.mp3,x7"}));
    EXPECT_EQ(load.unavailable, (std::vector<size_t>{0, 2, 3}));
    EXPECT_EQ(load.missing, inFolder(std::vector<std::string>{"D/gone.mp3", "gone.mp3"}));

    std::vector<std::string> paths(2, "/media/usb/a.mp3");
    for (int i = 1; i <= 11; ++i) paths.push_back("/mnt/" + std::to_string(i) + "/c.mp3");
    const std::string told = unavailableSongsMessage(paths);
    EXPECT_TRUE(
        told.ends_with("\n/media/usb/\n/mnt/1/\n/mnt/2/\n/mnt/3/\n/mnt/4/\n/mnt/5/\n"
                       "/mnt/6/\n/mnt/7/\n/mnt/8/\n/mnt/9/\nほか 2 か所"))
        << told;
}

TEST_F(SongListFiles, ABackupThatCannotBeWrittenStopsTheSave) {
    write("mvMP3.csv", "/m/old.mp3\r\n");
    ASSERT_EQ(::mkdir(path("mvMP3.csv.bak").c_str(), 0755), 0);
    write("mvMP3.csv.bak/x", "");
    EXPECT_EQ(saveSongListFile(path("mvMP3.csv"), storeOf({"/m/new.mp3"})), EISDIR);
    EXPECT_EQ(read("mvMP3.csv"), "/m/old.mp3\r\n");
}

TEST(SongListNames, LineBreaksCannotBeListed) {
    EXPECT_TRUE(canBeListed("/m/caf\xE9, 1.mp3"));
    using namespace std::string_literals;
    for (const std::string& path : {"/m/a\r.mp3"s, "/m/a\n.mp3"s, "/m/\r\n.mp3"s, "/m/a\0.mp3"s}) {
        EXPECT_FALSE(canBeListed(path));
        const std::string message = unlistableSongsMessage({path});
        EXPECT_EQ(message.find_first_of("\r"), std::string::npos);
        EXPECT_EQ(message.find('\n'), std::string("/m/a .mp3").size()) << message;
    }
}

// A save killed at any moment leaves the old or the new list whole, never a
// mix or a cut one, and its temporary files are cleaned up at the next start.
TEST_F(SongListFiles, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewWholeFile) {
    SongStore lists[2];
    for (int i = 0; i < 100000; ++i) {
        lists[0].append("/music/folder/song number " + std::to_string(i) + ".mp3");
        lists[1].append("/music/other/曲 " + std::to_string(i) + ".mp3, 1500");
    }
    const std::string texts[2] = {songListText(lists[0]), songListText(lists[1])};
    const std::string list = path("mvMP3.csv");
    ASSERT_EQ(saveSongListFile(list, lists[0]), 0);
    std::mt19937 random(std::random_device{}());
    for (int round = 0; round < 6; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 1;; ++i) saveSongListFile(list, lists[i % 2]);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(1000, 150000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string after = read("mvMP3.csv");
        EXPECT_TRUE(after == texts[0] || after == texts[1]) << "round " << round;
        const std::string backup = read("mvMP3.csv.bak");
        EXPECT_TRUE(backup.empty() || backup == texts[0] || backup == texts[1]);
    }
    removeLeftoverTemporaryFiles(root);
    for (const auto& item : std::filesystem::directory_iterator(root))
        EXPECT_FALSE(item.path().filename().string().starts_with(".melvo-"));
}

}  // namespace
}  // namespace melvo
