// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

namespace melvo {
namespace {

TEST(Numbers, RoundHalfEvenAndLeadingNumbers) {
    EXPECT_EQ(roundHalfEven(12.5), 12);
    EXPECT_EQ(roundHalfEven(13.5), 14);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(3276.8), 3277);
    EXPECT_EQ(roundHalfEven(1e300), INT32_MAX);
    EXPECT_EQ(leadingNumber("  1500abc"), 1500);
    EXPECT_EQ(leadingNumber(" -12.25x"), -12.25);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("-"), 0);
    EXPECT_EQ(leadingWholeNumber(" 12.5"), 12);
}

TEST(Numbers, WrittenForms) {
    EXPECT_EQ(blankLedNumber(2000), " 2000");
    EXPECT_EQ(blankLedNumber(0), " 0");
    EXPECT_EQ(blankLedNumber(-5), "-5");
    EXPECT_EQ(formatTenths(215.042), "215.0");
    EXPECT_EQ(formatTenths(0), "0.0");
    EXPECT_EQ(formatTenths(0.96), "1.0");
}

TEST(TextFile, LinesEndAtCrLfOrLoneCrAndForTheListAlsoAtLf) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* text;
        Lines crLines;
        Lines anyLines;
    } cases[] = {
        {"a\rb\nc", {"a", "b\nc"}, {"a", "b", "c"}},
        {"a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}, {"a", "", "b"}},
        {"a\n\rb\n", {"a\n", "b\n"}, {"a", "", "b"}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(splitCrLines(c.text), c.crLines);
        EXPECT_EQ(splitAnyLines(c.text), c.anyLines);
    }
}

TEST(TextFile, Utf8IsKeptAndCp932IsConverted) {
    EXPECT_TRUE(isValidUtf8("曲名 abc"));
    EXPECT_FALSE(isValidUtf8("\x8b\xc8"));  // 曲 in CP932
    EXPECT_FALSE(isValidUtf8("\xe6\x9b"));  // cut-off sequence
    EXPECT_EQ(toUtf8("\x8b\xc8\x96\xbc"), "曲名");
    EXPECT_EQ(toUtf8("C:\\MUSIC\\\x83\x65\x83\x58\x83\x67.mp3"), "C:\\MUSIC\\テスト.mp3");
    EXPECT_EQ(fromCp932("\x83\x65\x83\x58\x83\x67"), "テスト");
    EXPECT_EQ(fromCp932("caf\xe9.mp3"), std::nullopt) << "a lead byte without its trail byte";
}

TEST(TextFile, AtomicWriteReplacesAndLeavesNoTemporaryFile) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("list.csv").toStdString();
    int error = 0;
    ASSERT_TRUE(writeFileAtomically(path, "old\r\n", &error));
    ASSERT_TRUE(writeFileAtomically(path, "new\r\n", &error));
    EXPECT_EQ(readTextFile(path), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path().toStdString()),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST(TextFile, FailedAtomicWriteKeepsTheOldFileAndSaysWhy) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("list.csv").toStdString();
    std::filesystem::create_directory(path);  // a folder stands where the file should go
    int error = 0;
    EXPECT_FALSE(writeFileAtomically(path, "data", &error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_FALSE(writeFileAtomically(path + "/missing/x", "data", &error));
}

}  // namespace
}  // namespace melvo
