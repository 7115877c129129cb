// The song list file's line rules, without a window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <set>

#include "library/SongListFile.h"

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
