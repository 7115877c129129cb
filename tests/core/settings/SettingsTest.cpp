// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "core/settings/Settings.h"

namespace melvo {
namespace {

class SettingsFile : public ::testing::Test {
  protected:
    std::string path() const { return folder.filePath("mvMP3.ini").toStdString(); }
    void write(const std::string& bytes) const { std::ofstream(path(), std::ios::binary) << bytes; }
    std::string contents() const {
        std::ifstream file(path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
    std::string read(const std::string& key) const { return readSetting(key, "MUSIC", path()); }

    QTemporaryDir folder;
};

TEST_F(SettingsFile, AbsentFileSectionOrKeyReadsAsError) {
    EXPECT_EQ(read("AUTO"), "ERROR");
    write("[OTHER]\r\nAUTO=1\r\n");
    EXPECT_EQ(read("AUTO"), "ERROR");
    write("[MUSIC]\r\nvol=12\r\n");
    EXPECT_EQ(read("AUTO"), "ERROR");
}

TEST_F(SettingsFile, ReadsFilesWrittenOnWindows) {
    // CR LF line ends, blanks around "=", comments, other sections, any case of names.
    write(
        "; written elsewhere\r\n[Other]\r\nAUTO=9\r\n[music]\r\n  Auto = 1 \r\nKASI_DISPLAY=2\r\n"
        "RANDAM=\r\nvol= 6553\r\n");
    EXPECT_EQ(read("AUTO"), "1");
    EXPECT_EQ(read("KASI_DISPLAY"), "2");
    EXPECT_EQ(read("RANDAM"), "") << "an empty value is not a missing one";
    EXPECT_EQ(read("vol"), "6553");
}

TEST_F(SettingsFile, ReadsShiftJisValues) {
    write("[MUSIC]\r\nname=\x89\xb9\x8a\x79\r\n");  // 音楽 in CP932
    EXPECT_EQ(read("name"), "音楽");
}

TEST_F(SettingsFile, LongValuesAreCutTo254BytesWithoutSplittingACharacter) {
    write("[MUSIC]\r\nvol=" + std::string(300, '7') + "\r\n");
    EXPECT_EQ(read("vol"), std::string(254, '7'));
    std::string japanese;
    for (int i = 0; i < 100; ++i) japanese += "音";  // 3 bytes each
    write("[MUSIC]\r\nname=" + japanese + "\r\n");
    EXPECT_EQ(read("name").size(), 252u);
}

TEST_F(SettingsFile, WriteCreatesFileAndSection) {
    ASSERT_TRUE(writeSetting("1", "AUTO", "MUSIC", path()));
    EXPECT_EQ(contents(), "[MUSIC]\r\nAUTO=1\r\n");
    ASSERT_TRUE(writeSetting(" 3000", "vol", "MUSIC", path()));
    EXPECT_EQ(read("vol"), "3000");
    EXPECT_EQ(contents(), "[MUSIC]\r\nAUTO=1\r\nvol= 3000\r\n");
}

TEST_F(SettingsFile, WriteChangesOnlyItsKeyAndKeepsEverythingElse) {
    write(
        "; "
        "comment\r\n[Other]\r\nAUTO=9\r\n\r\n[MUSIC]\r\nAUTO=0\r\nRANDAM=1\r\n\r\n[Last]\r\nx="
        "y\r\n");
    ASSERT_TRUE(writeSetting("1", "AUTO", "MUSIC", path()));
    ASSERT_TRUE(writeSetting("0", "KASI_DISPLAY", "MUSIC", path()));
    EXPECT_EQ(contents(),
              "; comment\r\n[Other]\r\nAUTO=9\r\n\r\n[MUSIC]\r\nAUTO=1\r\nRANDAM=1\r\n"
              "KASI_DISPLAY=0\r\n\r\n[Last]\r\nx=y\r\n");
}

TEST_F(SettingsFile, WriteKeepsEveryOtherLineByteForByteInAnyEncodingAndLineEnd) {
    const struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"Latin-1 comment and value, CP932 value",
         "; caf\xE9 \xBD\r\n[MUSIC]\r\nname=\x89\xb9\x8a\x79\r\nAUTO=0\r\nx=\xE9\r\n",
         "; caf\xE9 \xBD\r\n[MUSIC]\r\nname=\x89\xb9\x8a\x79\r\nAUTO=1\r\nx=\xE9\r\n"},
        {"LF line ends stay LF", "[MUSIC]\nAUTO=0\n; \xE9\n", "[MUSIC]\nAUTO=1\n; \xE9\n"},
        {"key added after a last line without a line end", "[MUSIC]\nvol= 5",
         "[MUSIC]\nvol= 5\r\nAUTO=1\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write(c.before);
        ASSERT_TRUE(writeSetting("1", "AUTO", "MUSIC", path()));
        EXPECT_EQ(contents(), c.after);
    }
    write("; caf\xE9\r\n[MUSIC]\r\nname=\x89\xb9\x8a\x79\r\n");
    EXPECT_EQ(read("name"), "音楽") << "a Latin-1 comment does not turn the file into Latin-1";
}

TEST_F(SettingsFile, WriteToAnUnwritableFolderFailsAndChangesNothing) {
    const std::string blocked = folder.filePath("not-a-folder").toStdString();
    std::ofstream(blocked) << "file";
    EXPECT_FALSE(writeSetting("1", "AUTO", "MUSIC", blocked + "/mvMP3.ini"));
    EXPECT_EQ(readSetting("AUTO", "MUSIC", blocked + "/mvMP3.ini"), "ERROR");
}

TEST_F(SettingsFile, GarbageOrHugeFilesReadAsMissingKeys) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 37) & 0xff);
    write(garbage);
    EXPECT_EQ(read("AUTO"), "ERROR");
    write("[MUSIC]\r\nAUTO=1\r\n" + std::string(size_t{5} << 20, 'x'));
    EXPECT_EQ(read("AUTO"), "ERROR");
    EXPECT_FALSE(writeSetting("0", "AUTO", "MUSIC", path())) << "a file not read whole is kept";
    EXPECT_EQ(contents().size(), (size_t{5} << 20) + 17);
}

}  // namespace
}  // namespace melvo
