// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/lyrics/LyricsFile.h"
#include "core/lyrics/SongLyrics.h"
#include "core/lyrics/TimedLyrics.h"

namespace melvo {
namespace {

using Times = std::vector<std::pair<std::int64_t, int>>;

Times timesOf(const TimedLyrics& lyrics) {
    Times times;
    for (const LineTime& time : lyrics.times) times.emplace_back(time.ms, time.line);
    return times;
}

struct ParseCase {
    const char* name;
    std::string lyrics;  // as readLyrics gives them
    std::string shown;
    Times times;  // ordered by time
};

TEST(TimedLyrics, ParsesTagsHeadersAndLineEnds) {
    const ParseCase cases[] = {
        {"no tags: the text as it was",
         "la\r\n[ti:x]\r\nlu\nlo\r\n",
         "la\r\n[ti:x]\r\nlu\nlo\r\n",
         {}},
        {"tag forms",
         "[01:02]a\r\n[01:02.5]b\r\n[01:02.34]c\r\n[01:02.345]d\r\n[100:00.00]e\r\n",
         "a\r\nb\r\nc\r\nd\r\ne\r\n",
         {{62000, 0}, {62340, 2}, {62345, 3}, {62500, 1}, {6000000, 4}}},
        {"several tags on one line",
         "[00:10.00][00:30.00]chorus\r\n[00:20.00]verse\r\n",
         "chorus\r\nverse\r\n",
         {{10000, 0}, {20000, 1}, {30000, 0}}},
        {"headers left out",
         "[ti:歌]\r\n[ar:人] \r\n[00:01.00]a\r\n[length: 03:00]\r\n",
         "a\r\n",
         {{1000, 0}}},
        {"positive offset: earlier, never before the start",
         "[00:01.00]a\r\n[offset:+500]\r\n[00:00.20]b\r\n",
         "a\r\nb\r\n",
         {{0, 1}, {500, 0}}},
        {"negative offset: later", "[offset:-250]\r\n[00:01.00]a\r\n", "a\r\n", {{1250, 0}}},
        {"malformed offset ignored", "[offset:5x]\r\n[00:01.00]a\r\n", "a\r\n", {{1000, 0}}},
        {"malformed tags stay text",
         "[00:01.00]a\r\n[1:2]b\r\n[00:61.00]c\r\n[00:01.]d\r\n[00:01.0000]e\r\n[aa:bb]f\r\n"
         "[00:02.00][x]g\r\n[0001:00.00]h\r\n[00:03.00 ]i\r\n x[00:04.00]j\r\n",
         "a\r\n[1:2]b\r\n[00:61.00]c\r\n[00:01.]d\r\n[00:01.0000]e\r\n[aa:bb]f\r\n[x]g\r\n"
         "[0001:00.00]h\r\n[00:03.00 ]i\r\n x[00:04.00]j\r\n",
         {{1000, 0}, {2000, 6}}},
        {"untimed lines keep their place",
         "[00:01.00]a\r\n\r\nb\r\n[00:02.00]\r\n",
         "a\r\n\r\nb\r\n\r\n",
         {{1000, 0}, {2000, 3}}},
        {"equal times in text order",
         "[00:01.00]a\r\n[00:01.00]b\r\n",
         "a\r\nb\r\n",
         {{1000, 0}, {1000, 1}}},
        {"LF, CR and a last line without an end",
         "[00:01.00]a\n[00:02.00]b\r[00:03.00]c",
         "a\r\nb\r\nc\r\n",
         {{1000, 0}, {2000, 1}, {3000, 2}}},
    };
    for (const ParseCase& c : cases) {
        const TimedLyrics lyrics = parseTimedLyrics(c.lyrics);
        EXPECT_EQ(lyrics.text, c.shown) << c.name;
        EXPECT_EQ(timesOf(lyrics), c.times) << c.name;
    }
}

TEST(TimedLyrics, LineForAPosition) {
    const TimedLyrics lyrics =
        parseTimedLyrics("intro\r\n[00:01.00]a\r\n[00:02.50][00:05.00]b\r\n[00:04.00]c\r\n");
    const std::pair<double, int> cases[] = {
        {0.0, -1}, {0.9994, -1}, {0.9996, 1}, {1.0, 1}, {2.499, 1}, {2.5, 2},
        {3.99, 2}, {4.0, 3},     {4.5, 3},    {5.0, 2}, {3600, 2},  // after the last time
        {1.2, 1},                                                   // after a seek back
    };
    for (const auto& [seconds, line] : cases) EXPECT_EQ(lineAt(lyrics, seconds), line) << seconds;
    EXPECT_EQ(lineAt(parseTimedLyrics("la\r\n"), 10.0), -1);
}

TEST(TimedLyrics, StampedTagsReplaceLeadingTagsAndReadBack) {
    const struct {
        std::string line;
        double seconds;
        std::string stamped;
    } cases[] = {
        {"la", 0.0, "[00:00.00]la"},       {"la", 1.239, "[00:01.23]la"},
        {"la", 1.23, "[00:01.23]la"},      {"[00:09.00][00:10.00]la", 61.5, "[01:01.50]la"},
        {"[x]la", 3.0, "[00:03.00][x]la"}, {"", 6000.0, "[100:00.00]"},
        {"la", -0.5, "[00:00.00]la"},
    };
    for (const auto& c : cases) {
        const std::string stamped = withTimeTag(c.line, c.seconds);
        EXPECT_EQ(stamped, c.stamped) << c.line;
        const TimedLyrics read = parseTimedLyrics(stamped + "\r\n");
        ASSERT_EQ(read.times.size(), 1u) << stamped;
        EXPECT_NEAR(read.times[0].ms, std::max(0.0, c.seconds) * 1000, 10) << stamped;
    }
}

class LyricsSources : public testing::Test {
  protected:
    std::string path(const std::string& name) const {
        return folder.filePath(QString::fromStdString(name)).toStdString();
    }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    static std::string readFile(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    static std::string fixture(const char* name) {
        return std::string(MELVO_FIXTURE_DIR "/") + name;
    }
    QTemporaryDir folder;
};

TEST_F(LyricsSources, OldCp932LrcFileIsTimed) {
    write("song.lrc", "[00:01.00]\x89\xcc\x8e\x8c\r\n");
    const std::optional<Lyrics> file = readLyrics(path("song.lrc"));
    ASSERT_TRUE(file);
    const TimedLyrics lyrics = parseTimedLyrics(file->text);
    EXPECT_EQ(lyrics.text, "歌詞\r\n");
    EXPECT_EQ(timesOf(lyrics), (Times{{1000, 0}}));
}

TEST_F(LyricsSources, LyricsFrameOfARealTagIsReadAsUtf8) {
    const std::optional<Lyrics> lyrics = readEmbeddedLyrics(fixture("timed_lyrics.mp3"));
    ASSERT_TRUE(lyrics);
    EXPECT_EQ(
        lyrics->text,
        "[ti:テスト]\r\n[00:00.50]一行目\r\n[00:01.50][00:02.50]二行目\r\n[00:02.00]三行目\r\n");
    EXPECT_FALSE(lyrics->cut);
    EXPECT_EQ(timesOf(parseTimedLyrics(lyrics->text)),
              (Times{{500, 0}, {1500, 1}, {2000, 2}, {2500, 1}}));

    // A tag without lyrics, no tag, no MP3 at all, nothing there, a named pipe.
    EXPECT_FALSE(readEmbeddedLyrics(fixture("huge_id3.mp3")));
    EXPECT_FALSE(readEmbeddedLyrics(fixture("tone440.mp3")));
    EXPECT_FALSE(readEmbeddedLyrics(fixture("random.mp3")));
    EXPECT_FALSE(readEmbeddedLyrics(path("none.mp3")));
    // The fixture with its tag padded out past 16 MiB: not read.
    const std::string song = readFile(fixture("timed_lyrics.mp3"));
    size_t body = 0;
    for (int i = 6; i < 10; ++i) body = body << 7 | (song[i] & 0x7f);
    const size_t padded = body + (size_t{17} << 20);
    std::string header = song.substr(0, 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        header += static_cast<char>(padded >> shift & 0x7f);
    write("padded.mp3", header + song.substr(10, body) + std::string(padded - body, '\0') +
                            song.substr(10 + body));
    EXPECT_FALSE(readEmbeddedLyrics(path("padded.mp3")));
    ASSERT_EQ(::mkfifo(path("pipe.mp3").c_str(), 0600), 0);
    EXPECT_FALSE(readEmbeddedLyrics(path("pipe.mp3")));
}

TEST_F(LyricsSources, TextFileThenLrcFileThenTheSongsTag) {
    std::filesystem::copy_file(fixture("timed_lyrics.mp3"), path("Song.mp3"));
    std::optional<SongLyrics> lyrics = readSongLyrics(path("Song.mp3"));
    ASSERT_TRUE(lyrics);
    EXPECT_EQ(lyrics->source, LyricsSource::Song);

    write("Song.lrc", "[00:01.00]lrc");
    lyrics = readSongLyrics(path("Song.mp3"));
    ASSERT_TRUE(lyrics);
    EXPECT_EQ(lyrics->source, LyricsSource::LrcFile);
    EXPECT_EQ(lyrics->lyrics.text, "[00:01.00]lrc\r\n");

    write("Song.txt", "txt");
    lyrics = readSongLyrics(path("Song.mp3"));
    ASSERT_TRUE(lyrics);
    EXPECT_EQ(lyrics->source, LyricsSource::TextFile);
    EXPECT_EQ(lyrics->lyrics.text, "txt\r\n");

    EXPECT_FALSE(readSongLyrics(path("None.mp3")));
    EXPECT_FALSE(readSongLyrics(path("Song.Mp3")));  // refused by the name rule
}

}  // namespace
}  // namespace melvo
