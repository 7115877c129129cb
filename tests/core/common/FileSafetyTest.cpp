// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Every file the program reads or writes, against what a user's folder may
// hold: named pipes, folders, symbolic links, names that are not UTF-8 and
// temporary files left by a killed write.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/common/FileNames.h"
#include "core/common/TextFile.h"
#include "core/library/SongListFile.h"
#include "core/lyrics/LyricsFile.h"
#include "core/settings/Settings.h"
#include "support/ByteFolder.h"

namespace melvo {
namespace {

class FileSafety : public testing::Test, public test::ByteFolder {
  protected:
    bool isLink(const std::string& name) const {
        return std::filesystem::is_symlink(std::filesystem::path(path(name)));
    }
};

// Each of these would wait in open() for ever on a named pipe.
TEST_F(FileSafety, NamedPipesAndFoldersAreRefusedWithoutWaitingAndLeftAlone) {
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir(path("folder").c_str(), 0755), 0);
    for (const std::string name : {"pipe", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(readRegularFile(path(name)).status, FileRead::Status::NotRegular);
        EXPECT_EQ(readTextFile(path(name)), std::nullopt);

        const SongListLoad load = loadSongListFile(path(name), " 6553");
        EXPECT_EQ(load.status, SongListLoad::Status::Refused);
        EXPECT_FALSE(load.heldNoSongs());
        EXPECT_NE(saveSongListFile(path(name), SongStore()), 0);

        EXPECT_EQ(readSetting("AUTO", "MUSIC", path(name)), "ERROR");
        EXPECT_FALSE(writeSetting("1", "AUTO", "MUSIC", path(name)));

        EXPECT_EQ(readLyrics(path(name)), std::nullopt);
    }
    struct stat info {};
    ASSERT_EQ(::lstat(path("pipe").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

// Every writer of the program, each replacing its file through a symbolic
// link: the link stays, the file it leads to gets the new content.
TEST_F(FileSafety, WritesThroughSymbolicLinksReplaceTheTargetAndKeepTheLink) {
    struct Writer {
        const char* name;
        std::function<bool(const std::string& linkPath)> write;
        const char* written;
    };
    const Writer writers[] = {
        {"atomic write",
         [](const std::string& p) { return writeFileAtomically(p, "new", nullptr); }, "new"},
        {"setting", [](const std::string& p) { return writeSetting("1", "AUTO", "MUSIC", p); },
         "[MUSIC]\r\nAUTO=1\r\n"},
        {"song list",
         [](const std::string& p) {
             SongStore store;
             store.append("/m/a.mp3");
             return saveSongListFile(p, store) == 0;
         },
         "/m/a.mp3\r\n"},
        {"lyrics",
         [](const std::string& p) {
             return saveLyrics(p.substr(0, p.size() - 4), "new").ok();  // p ends in ".txt"
         },
         "new\r\n"},
    };
    ASSERT_EQ(::mkdir(path("real").c_str(), 0755), 0);
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        // A relative link to a file in another folder, a link to that link, a dangling link.
        std::filesystem::remove_all(path("real"));
        ASSERT_EQ(::mkdir(path("real").c_str(), 0755), 0);
        write("real/target.txt", "");
        for (const char* link : {"link.txt", "chain.txt", "dangling.txt"})
            ::unlink(path(link).c_str());
        ASSERT_EQ(::symlink("real/target.txt", path("link.txt").c_str()), 0);
        ASSERT_EQ(::symlink("link.txt", path("chain.txt").c_str()), 0);
        ASSERT_EQ(::symlink("real/created.txt", path("dangling.txt").c_str()), 0);

        ASSERT_TRUE(writer.write(path("chain.txt")));
        EXPECT_TRUE(isLink("chain.txt") && isLink("link.txt"));
        EXPECT_EQ(read("real/target.txt"), writer.written);

        ASSERT_TRUE(writer.write(path("dangling.txt")));
        EXPECT_TRUE(isLink("dangling.txt"));
        EXPECT_EQ(read("real/created.txt"), writer.written);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path("real")),
                                std::filesystem::directory_iterator{}),
                  2)
            << "no temporary file is left beside the targets";
    }
    ASSERT_EQ(::symlink("loop.txt", path("loop.txt").c_str()), 0);
    int error = 0;
    EXPECT_FALSE(writeFileAtomically(path("loop.txt"), "x", &error));
    EXPECT_EQ(error, ELOOP);
}

// What another user may plant at the lyrics' temporary name is never written
// through, emptied or removed: the lyrics go by a fresh name instead.
TEST_F(FileSafety, PlantedTemporaryNamesAreLeftAloneAndTheFileStillReplaced) {
    const std::function<int(const char*)> plants[] = {
        [](const char* at) { return ::symlink("victim", at); },
        [](const char* at) { return ::mkfifo(at, 0644); },
        [](const char* at) { return ::mkdir(at, 0755); },
        [this](const char* at) { return write("Song.TMP", "theirs"), ::chown(at, 65534, 65534); },
    };
    for (const auto& plant : plants) {
        std::filesystem::remove_all(root);
        std::filesystem::create_directory(root);
        write("victim", "mine");
        struct stat before {
        }, after{};
        if (plant(path("Song.TMP").c_str()) != 0) continue;  // only the superuser gives files away
        ::lstat(path("Song.TMP").c_str(), &before);
        ASSERT_TRUE(saveLyrics(path("Song"), "new").ok());
        EXPECT_EQ(read("Song.txt") + read("victim"), "new\r\nmine");
        ASSERT_EQ(::lstat(path("Song.TMP").c_str(), &after), 0);
        EXPECT_TRUE(after.st_ino == before.st_ino && after.st_size == before.st_size);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root), {}), 3);
    }
}

TEST_F(FileSafety, ReplacedFilesKeepTheirPermissions) {
    write("private.csv", "old");
    ASSERT_EQ(::chmod(path("private.csv").c_str(), 0600), 0);
    ASSERT_TRUE(writeFileAtomically(path("private.csv"), "new", nullptr));
    struct stat info {};
    ASSERT_EQ(::stat(path("private.csv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(FileSafety, LeftoverCleanupRemovesOnlyTheProgramsOwnTemporaryFiles) {
    // The name an atomic write really uses counts as one of ours.
    ASSERT_TRUE(writeFileAtomically(path("x"), "", nullptr));
    for (const std::string name : {".melvo-1234.tmp", ".melvo-7.tmp"}) write(name, "partial");
    const std::string kept[] = {".melvo-.tmp",  ".melvo-12a.tmp", "melvo-1.tmp", ".melvo-1.tmp.x",
                                ".melvo-1.TMP", "Song.TMP",       "mvMP3.csv"};
    for (const std::string& name : kept) write(name, "keep");
    ASSERT_EQ(::mkdir(path(".melvo-5.tmp").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("mvMP3.csv", path(".melvo-6.tmp").c_str()), 0);

    EXPECT_EQ(removeLeftoverTemporaryFiles(root), 2);
    for (const std::string& name : kept) EXPECT_EQ(read(name), "keep") << name;
    EXPECT_TRUE(std::filesystem::is_directory(path(".melvo-5.tmp")));
    EXPECT_TRUE(isLink(".melvo-6.tmp"));
    EXPECT_FALSE(std::filesystem::exists(path(".melvo-1234.tmp")));
    EXPECT_EQ(removeLeftoverTemporaryFiles(path("no-such-folder")), 0);
}

// "caf\xE9.mp3" is a valid Linux name that is not UTF-8: Qt shows it with a
// replacement character, and the program must get the real bytes back from
// what a file dialog, a folder listing or a drop hands over.
TEST_F(FileSafety, NamesThatAreNotUtf8ComeBackFromQtAsTheirBytes) {
    const std::string latin1 = path("caf\xE9.mp3");
    write("caf\xE9.mp3", "x");
    write("caf\xE8.mp3", "x");  // shown the same way: ambiguous on its own
    write("曲.mp3", "x");
    ASSERT_EQ(::mkdir(path("dir\xE9").c_str(), 0755), 0);
    write("dir\xE9/s\xE9.mp3", "x");

    const QString shown = displayPath(latin1);
    EXPECT_TRUE(shown.contains(QChar::ReplacementCharacter));
    EXPECT_EQ(displayText("曲"), "曲");

    // A chosen file's name as text, as a dialog that shows such names hands it over.
    EXPECT_EQ(pathFromQString(folder.filePath("曲.mp3")), path("曲.mp3"));
    EXPECT_EQ(pathFromQString(shown), std::nullopt) << "two names look the same";
    ::unlink(path("caf\xE8.mp3").c_str());
    EXPECT_EQ(pathFromQString(shown), latin1);
    EXPECT_EQ(pathFromQString(displayPath(path("dir\xE9/s\xE9.mp3"))), path("dir\xE9/s\xE9.mp3"));

    // A drop carries the bytes percent-encoded.
    const QUrl dropped = QUrl::fromEncoded(
        "file://" + QByteArray::fromStdString(latin1).toPercentEncoding("/"), QUrl::StrictMode);
    EXPECT_EQ(pathFromUrl(dropped), latin1);
    EXPECT_EQ(pathFromUrl(QUrl::fromLocalFile(shown)), latin1);
    EXPECT_EQ(pathFromUrl(QUrl("https://example.org/a.mp3")), std::nullopt);
}

}  // namespace
}  // namespace melvo
