// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/lyrics/LyricsFile.h"
#include "support/ByteFolder.h"
#include "support/RandomBytes.h"

namespace melvo {
namespace {

std::optional<std::string> readText(const std::string& path) {
    std::optional<Lyrics> lyrics = readLyrics(path);
    return lyrics ? std::optional(lyrics->text) : std::nullopt;
}

struct NameCase {
    const char* song;
    const char* lyrics;  // nullptr: refused
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.song; }

class LyricsNameRule : public testing::TestWithParam<NameCase> {};

TEST_P(LyricsNameRule, MapsSongToLyricsFile) {
    const NameCase& c = GetParam();
    const std::optional<std::string> file = lyricsFileFor(c.song);
    if (c.lyrics) {
        ASSERT_TRUE(file.has_value()) << c.song;
        EXPECT_EQ(*file, c.lyrics);
    } else {
        EXPECT_FALSE(file.has_value()) << c.song << " gave " << file.value_or("");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LyricsNameRule,
    testing::Values(NameCase{"/music/Artist-Title.mp3", "/music/Artist-Title.txt"},
                    NameCase{"/MUSIC/SONG.MP3", "/MUSIC/SONG.txt"},
                    NameCase{"/music/Song.Mp3", nullptr}, NameCase{"/music/Song.wav", nullptr},
                    NameCase{"", nullptr},
                    // The first match counts, even inside a folder name.
                    NameCase{"/my.mp3s/Song.mp3", "/my.txt"},
                    NameCase{"/old.MP3s/new.mp3", "/old.MP3s/new.txt"},
                    // ".mp3" within the first two characters: refused, unless
                    // it starts the path and a ".MP3" follows.
                    NameCase{"a.mp3", nullptr}, NameCase{"ab.mp3", "ab.txt"},
                    NameCase{"a.mp3/x.MP3", nullptr}, NameCase{".mp3/x.MP3", ".mp3/x.txt"},
                    // Positions count characters, not bytes.
                    NameCase{"曲.mp3", nullptr}, NameCase{"曲名.mp3", "曲名.txt"},
                    NameCase{"/音楽/歌手-曲名.MP3", "/音楽/歌手-曲名.txt"}));

TEST(LyricsTitle, FileNameAfterFirstHyphen) {
    EXPECT_EQ(lyricsTitleFor("/music/Artist-Title.mp3"), "Title.mp3");
    EXPECT_EQ(lyricsTitleFor("/music/A-B-C.mp3"), "B-C.mp3");
    EXPECT_EQ(lyricsTitleFor("/a/b/c/Song.mp3"), "Song.mp3");
    EXPECT_EQ(lyricsTitleFor("/my-music/Song.mp3"), "Song.mp3");
    EXPECT_EQ(lyricsTitleFor("Song.mp3"), "Song.mp3");
    EXPECT_EQ(lyricsTitleFor(""), "");
    EXPECT_EQ(lyricsTitleFor("/音楽/歌手-曲名.mp3"), "曲名.mp3");
}

class LyricsFiles : public testing::Test, public test::ByteFolder {
  protected:
    bool exists(const std::string& name) const {
        struct stat info {};
        return ::stat(path(name).c_str(), &info) == 0;
    }
};

TEST_F(LyricsFiles, ReaderEndsEveryLineWithCrLf) {
    const std::pair<const char*, const char*> cases[] = {
        {"la\r\nlu", "la\r\nlu\r\n"},
        {"la\r\nlu\r\n", "la\r\nlu\r\n"},
        {"a\rb\nc", "a\r\nb\nc\r\n"},  // a lone CR ends a line, a lone LF does not
        {"\n", "\n\r\n"},
        {"a\r\n\r\n", "a\r\n\r\n"},
        {"\r\r", "\r\n\r\n"},
        {"", ""},
    };
    for (const auto& [bytes, text] : cases) {
        write("song.txt", bytes);
        EXPECT_EQ(readText(path("song.txt")), std::optional<std::string>(text))
            << testing::PrintToString(std::string(bytes));
    }
}

TEST_F(LyricsFiles, ReaderTakesUtf8AndOldCp932Files) {
    write("utf8.txt", "歌詞\r\n一行目");
    EXPECT_EQ(readText(path("utf8.txt")), "歌詞\r\n一行目\r\n");
    // The same text as the old system wrote it, in CP932.
    write("cp932.txt", "\x89\xcc\x8e\x8c\r\x88\xea\x8d\x73\x96\xda");
    EXPECT_EQ(readText(path("cp932.txt")), "歌詞\r\n一行目\r\n");
}

TEST_F(LyricsFiles, ReaderRefusesMissingFilesAndFolders) {
    EXPECT_FALSE(readText(path("none.txt")).has_value());
    EXPECT_FALSE(readText(path("no-folder/none.txt")).has_value());
    ASSERT_EQ(::mkdir(path("folder.txt").c_str(), 0755), 0);
    EXPECT_FALSE(readText(path("folder.txt")).has_value());
}

TEST_F(LyricsFiles, OverLongFilesGiveTheirFirstWholeLinesAndANote) {
    const std::string line = "歌詞の一行\r\n";  // 17 bytes
    const std::string note = std::string(kLyricsLeftOutLine) + "\r\n";
    std::string oneMiB;
    while (oneMiB.size() < kMaxLyricsBytes) oneMiB += std::string(1022, 'a') + "\r\n";
    const struct {
        const char* name;
        std::string bytes;
        bool cut;
        std::string endsWith;
    } cases[] = {
        {"exactly the bound", oneMiB, false, "a\r\n"},
        {"long Japanese lines, cut inside a character",
         [&] {
             std::string text;
             while (text.size() < 3 * kMaxLyricsBytes) text += line;
             return text;
         }(),
         true, line + note},
        {"one line longer than the bound", std::string(kMaxLyricsBytes + 10, 'b'), true,
         "b\r\n" + note},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("long.txt", c.bytes);
        const std::optional<Lyrics> lyrics = readLyrics(path("long.txt"));
        ASSERT_TRUE(lyrics.has_value());
        EXPECT_EQ(lyrics->cut, c.cut);
        EXPECT_TRUE(lyrics->text.ends_with(c.endsWith));
        EXPECT_LE(lyrics->text.size(), kMaxLyricsBytes + note.size() + 2);
        EXPECT_EQ(lyrics->text.find("\xEF\xBF\xBD"), std::string::npos)
            << "no character cut in two";
    }
}

TEST_F(LyricsFiles, SaveWritesCrLfLinesAndOneMoreLineEnd) {
    EXPECT_TRUE(saveLyrics(path("Song"), "la\nlu").ok());
    EXPECT_EQ(read("Song.txt"), "la\r\nlu\r\n");
    EXPECT_FALSE(exists("Song.TMP"));

    // Saving the loaded text unchanged adds one empty line each time.
    ASSERT_TRUE(saveLyrics(path("Song"), *readText(path("Song.txt"))).ok());
    EXPECT_EQ(read("Song.txt"), "la\r\nlu\r\n\r\n");

    EXPECT_TRUE(saveLyrics(path("Song"), "").ok());
    EXPECT_EQ(read("Song.txt"), "\r\n");

    EXPECT_TRUE(saveLyrics(path("Song"), "a\r\nb\rc\nお").ok());
    EXPECT_EQ(read("Song.txt"), "a\r\nb\r\nc\r\nお\r\n");
}

TEST_F(LyricsFiles, SaveReplacesALeftoverTemporaryFile) {
    write("Song.TMP", "left over from a crash, and longer than the new text");
    write("Song.txt", "old\r\n");
    ASSERT_TRUE(saveLyrics(path("Song"), "new").ok());
    EXPECT_EQ(read("Song.txt"), "new\r\n");
    EXPECT_FALSE(exists("Song.TMP"));
}

TEST_F(LyricsFiles, SaveIntoAnUnwritablePlaceFailsWritingTheTemporaryFile) {
    write("plain-file", "x");
    for (const std::string& target : {path("missing/Song"), path("plain-file/Song")}) {
        const FileReplacement result = saveLyrics(target, "text");
        EXPECT_EQ(result.failedStep, FileReplacement::Step::WriteTemporary);
        EXPECT_NE(result.error, 0);
    }
}

TEST_F(LyricsFiles, FailedRenameKeepsTheOldLyricsAndLeavesNoTemporaryFile) {
    // A folder in the lyrics file's place (with something in it) cannot be
    // replaced by a file.
    ASSERT_EQ(::mkdir(path("Song.txt").c_str(), 0755), 0);
    write("Song.txt/keep", "old");
    const FileReplacement result = saveLyrics(path("Song"), "new");
    EXPECT_EQ(result.failedStep, FileReplacement::Step::Rename);
    EXPECT_FALSE(exists("Song.TMP"));
    EXPECT_EQ(read("Song.txt/keep"), "old");
}

// Random and mutated bytes, read as a lyrics file or taken as a tag's lyrics:
// every cut stays inside its text and cuts no character of UTF-8 in two.
TEST(LyricsFuzz, AnyBytesDecodeAndCutInsideTheirText) {
    const std::string seeds[] = {std::string(5000, '\x80'), "一\r\n二\n三\r",
                                 "\xFF\xFE"
                                 "a",
                                 "", "\xEF\xBB\xBF" + std::string(4095, 'a') + "あい"};
    test::RandomBytes random;
    for (int i = 0; i < 3000; ++i) {
        const std::string bytes = random.next(seeds[i % std::size(seeds)]);
        const std::string half = bytes.substr(0, bytes.size() / 2);
        ASSERT_TRUE(!isValidUtf8(bytes) || isValidUtf8(half.substr(0, wholeLinesLength(half))));
        for (std::string text : {bytes, textFileToUtf8(bytes)}) {
            const std::string whole = text;
            cutToLyricsLines(&text);
            ASSERT_TRUE(whole.starts_with(text) && (!isValidUtf8(whole) || isValidUtf8(text))) << i;
        }
    }
}

}  // namespace
}  // namespace melvo
