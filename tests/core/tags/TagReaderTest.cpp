// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The tags of real MP3 files, written frame by frame in front of a real tone
// and read back through the one tag reader.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/tags/TagReader.h"

namespace melvo::test {
namespace {

std::string fixture(const char* name) {
    std::ifstream file(std::string(MELVO_FIXTURE_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string bigEndian(std::size_t value, bool syncSafe, int size = 4) {
    const int shift = syncSafe ? 7 : 8;
    std::string bytes(size, '\0');
    for (int i = size - 1; i >= 0; --i, value >>= shift)
        bytes[i] = static_cast<char>(value & ((1u << shift) - 1));
    return bytes;
}

struct Frame {
    std::string id;
    std::string data;  // from the encoding byte on
};

// An ID3v2 tag of the given version (2, 3 or 4).
std::string id3v2(int version, const std::vector<Frame>& frames) {
    std::string body;
    for (const Frame& frame : frames) {
        body += frame.id + bigEndian(frame.data.size(), version == 4, version == 2 ? 3 : 4) +
                std::string(version == 2 ? 0 : 2, '\0') + frame.data;
    }
    return std::string("ID3") + static_cast<char>(version) + std::string(2, '\0') +
           bigEndian(body.size(), true) + body;
}

// An ID3v2 tag with text frames in one encoding (0: Latin-1, 3: UTF-8).
std::string id3v2(int version, char encoding, const std::string& artist, const std::string& album) {
    return id3v2(version, {{"TPE1", encoding + artist}, {"TALB", encoding + album}});
}

// UTF-16 with a byte-order mark, as an ID3v2.3 frame of encoding 1 holds it.
std::string utf16(const std::u16string& text) {
    std::string bytes = "\x01\xff\xfe";
    for (const char16_t unit : text)
        bytes += {static_cast<char>(unit & 0xff), static_cast<char>(unit >> 8)};
    return bytes;
}

std::string field(const std::string& text, std::size_t size) {
    return text + std::string(size - text.size(), '\0');
}

std::string id3v1(const std::string& artist, const std::string& album,
                  const std::string& title = "t") {
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + "2001" +
           field("", 30) + '\x0c';
}

// The fields a case expects.
struct Fields {
    std::string title = {}, artist = {}, album = {}, albumArtist = {};
    int trackNumber = 0;
    bool operator==(const Fields&) const = default;
};

void PrintTo(const Fields& f, std::ostream* out) {
    *out << f.title << "|" << f.artist << "|" << f.album << "|" << f.albumArtist << "|"
         << f.trackNumber;
}

const std::string kBand = "\x90\xc2\x8b\xf3\x83o\x83\x93\x83h";  // 青空バンド in CP932

struct Song {
    QTemporaryDir folder;
    std::string path = folder.filePath("song.mp3").toStdString();
    // A new file each time: a file emptied and written again is flushed to disk on closing.
    void write(const std::string& bytes) {
        std::remove(path.c_str());
        std::ofstream(path, std::ios::binary) << bytes;
    }
};

TEST(TagReader, ReadsTheArtistAndAlbumOfEitherTagVersion) {
    const std::string audio = fixture("tone440.mp3");
    const struct {
        const char* name;
        std::string bytes;
        Fields expected;
    } cases[] = {
        {"ID3v2.4 in UTF-8",
         id3v2(4, 3, "歌手", "アルバム") + audio,
         {.artist = "歌手", .album = "アルバム"}},
        {"ID3v2.3 in Latin-1",
         id3v2(3, 0, "Band", "Live") + audio,
         {.artist = "Band", .album = "Live"}},
        {"ID3v1 in Shift-JIS, padded with blanks",
         audio + id3v1("\x89\xcc\x8e\xe8  ", "Best"),
         {.artist = "歌手", .album = "Best"}},
        {"ID3v2 without an album, ID3v1 fills it in",
         id3v2(4, 3, "歌手", "") + audio + id3v1("Other", "盤"),
         {.artist = "歌手", .album = "盤"}},
        {"no tag", audio, {}},
        {"no MPEG audio at all", "not an mp3 file", {}},
    };
    Song song;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        song.write(c.bytes);
        const SongInfo tags = readSongInfo(song.path, TagEncoding::Automatic).value_or(SongInfo{});
        EXPECT_EQ(tags.artist, c.expected.artist);
        EXPECT_EQ(tags.album, c.expected.album);
    }
}

TEST(TagReader, OnlyARegularFileIsRead) {
    QTemporaryDir folder;
    const std::string pipe = folder.filePath("pipe.mp3").toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path :
         {pipe, folder.filePath("missing.mp3").toStdString(), folder.path().toStdString()}) {
        SCOPED_TRACE(path);
        // Each returns at once, without a writer.
        EXPECT_FALSE(readSongInfo(path, TagEncoding::Automatic));
        EXPECT_FALSE(readTagLyrics(path, TagEncoding::Automatic));
        EXPECT_FALSE(readEmbeddedPicture(path));
    }
}

// A frame's text marked ISO-8859-1.
std::string latin1(const std::string& text) { return '\0' + text; }

TEST(TagReader, JapaneseAndLegacyTagsOfRealFiles) {
    const std::string audio = fixture("tone440.mp3");
    const std::string garbled = utf16(u"\u0090\u00c2\u008b\u00f3\u0083o");  // CP932 read as Latin-1
    const struct {
        const char* name;
        std::string tag;  // in front of the audio
        std::string v1;   // after it
        Fields expected;
        TagEncoding encoding = TagEncoding::Automatic;
        const char* lyrics = "";
    } cases[] = {
        {"ID3v2.3 frames marked ISO-8859-1 holding CP932",
         id3v2(3, {{"TIT2", latin1("\x8b\xf3")},
                   {"TPE1", latin1(kBand)},
                   {"TRCK", latin1("3/12")},
                   {"USLT", latin1("jpn" + latin1("\x89\xcc\x8e\x8c"))}}),
         "",
         {.title = "空", .artist = "青空バンド", .trackNumber = 3},
         TagEncoding::Automatic,
         "歌詞"},
        {"forced to Latin-1",
         id3v2(3, {{"TPE1", latin1("\x88\xa4")}}),
         "",
         {.artist = "ˆ¤"},
         TagEncoding::Latin1},
        {"CP932 ID3v1", "", id3v1(kBand, "", "\x88\xa4"), {.title = "愛", .artist = "青空バンド"}},
        {"UTF-16",
         id3v2(3, {{"TIT2", utf16(u"夜")}, {"TPE2", utf16(u"Ménage")}}),
         "",
         {.title = "夜", .albumArtist = "Ménage"}},
        {"Latin-1", id3v2(3, {{"TPE1", latin1("M\xe9nage")}}), "", {.artist = "Ménage"}},
        {"Latin-1 forced to Shift-JIS",
         id3v2(3, {{"TPE1", latin1("M\xe9nage")}}),
         "",
         {.artist = "M駭age"},
         TagEncoding::ShiftJis},
        {"garbled ID3v2 beside right CP932 ID3v1",
         id3v2(3, {{"TPE1", garbled}, {"TALB", utf16(u"盤")}}),
         id3v1(kBand, "Other"),
         {.title = "t", .artist = "青空バンド", .album = "盤"}},
        {"ID3v2.2", id3v2(2, {{"TT2", latin1("\x88\xa4")}}), "", {.title = "愛"}},
    };
    Song song;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        song.write(c.tag + audio + c.v1);
        const std::optional<SongInfo> info = readSongInfo(song.path, c.encoding);
        ASSERT_TRUE(info);
        const Fields read{info->title, info->artist, info->album, info->albumArtist,
                          info->trackNumber};
        EXPECT_EQ(read, c.expected);
        EXPECT_NEAR(info->lengthMs, 500, 60);
        EXPECT_EQ(readTagLyrics(song.path, c.encoding).value_or(""), c.lyrics);
    }
}

// Mutated tags, cut files and tags that lie about their sizes: read without
// a fault, in bounded time and memory.
TEST(TagReader, DamagedTagsAreReadWithoutHarm) {
    const std::string audio = fixture("tone440.mp3").substr(0, 2000);
    const std::string picture = std::string("\0image/jpeg\0\x03\0", 14) + std::string(300, 'p');
    const std::string tag = id3v2(3, {{"TIT2", latin1(kBand)},
                                      {"TPE1", utf16(u"歌手")},
                                      {"APIC", picture},
                                      {"USLT", latin1("jpn" + latin1(kBand))},
                                      {"COMM", latin1("jpn" + latin1("c"))}});
    const std::string base = tag + audio + id3v1(kBand, "Best");
    Song song;
    song.write(base);
    ASSERT_TRUE(readEmbeddedPicture(song.path));
    EXPECT_EQ(readEmbeddedPicture(song.path)->bytes, std::string(300, 'p'));

    std::mt19937 random(29);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = base;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) {
            // Mostly in the ID3v2 tag, sometimes in the ID3v1 one.
            const size_t at =
                random() % 4 == 0 ? bytes.size() - 1 - random() % 128 : random() % tag.size();
            bytes[at] = static_cast<char>(random() % 3 == 0 ? 0xff : random());
        }
        if (random() % 8 == 0) bytes.resize(random() % bytes.size());
        song.write(bytes);
        readSongInfo(song.path, TagEncoding::Automatic);
        readTagLyrics(song.path, TagEncoding::Automatic);
        readEmbeddedPicture(song.path);
    }
}

}  // namespace
}  // namespace melvo::test
