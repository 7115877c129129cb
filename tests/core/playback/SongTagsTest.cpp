// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The artist and album read from a real MP3 file's ID3 tags by libmpg123.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>

#include "core/playback/SongTags.h"
#include "support/RandomBytes.h"

namespace melvo::test {
namespace {

std::string fixture(const char* name) {
    std::ifstream file(std::string(MELVO_FIXTURE_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string bigEndian(std::size_t value, bool syncSafe) {
    const int shift = syncSafe ? 7 : 8;
    std::string bytes(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= shift)
        bytes[i] = static_cast<char>(value & ((1u << shift) - 1));
    return bytes;
}

// An ID3v2 tag of the given version (3 or 4) with text frames in one encoding
// (0: Latin-1, 3: UTF-8).
std::string id3v2(int version, char encoding, const std::string& artist, const std::string& album) {
    std::string frames;
    for (const auto& [id, text] : {std::pair{"TPE1", artist}, std::pair{"TALB", album}}) {
        const std::string data = encoding + text;
        frames += id + bigEndian(data.size(), version == 4) + std::string(2, '\0') + data;
    }
    return std::string("ID3") + static_cast<char>(version) + std::string(2, '\0') +
           bigEndian(frames.size(), true) + frames;
}

std::string field(const std::string& text, std::size_t size) {
    return text + std::string(size - text.size(), '\0');
}

std::string id3v1(const std::string& artist, const std::string& album) {
    return "TAG" + field("t", 30) + field(artist, 30) + field(album, 30) + "2001" + field("", 30) +
           '\x0c';
}

TEST(SongTags, ReadsTheArtistAndAlbumOfEitherTagVersion) {
    const std::string audio = fixture("tone440.mp3");
    const struct {
        const char* name;
        std::string bytes;
        SongTags expected;
    } cases[] = {
        {"ID3v2.4 in UTF-8", id3v2(4, 3, "歌手", "アルバム") + audio, {"歌手", "アルバム"}},
        {"ID3v2.3 in Latin-1", id3v2(3, 0, "Band", "Live") + audio, {"Band", "Live"}},
        {"ID3v1 in Shift-JIS, padded with blanks",
         audio + id3v1("\x89\xcc\x8e\xe8  ", "Best"),
         {"歌手", "Best"}},
        {"ID3v2 without an album, ID3v1 fills it in",
         id3v2(4, 3, "歌手", "") + audio + id3v1("Other", "盤"),
         {"歌手", "盤"}},
        {"no tag", audio, {}},
        {"no MPEG audio at all", "not an mp3 file", {}},
    };
    QTemporaryDir folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.filePath("song.mp3").toStdString();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        const SongTags tags = readSongTags(path);
        EXPECT_EQ(tags.artist, c.expected.artist);
        EXPECT_EQ(tags.album, c.expected.album);
    }
}

// Random and mutated text in each encoding is read safely (the sanitizer build watches).
TEST(SongTags, AnyTextInTheFramesIsReadSafely) {
    const QTemporaryDir folder;
    const std::string audio = fixture("tone440.mp3"), path = folder.filePath("a.mp3").toStdString();
    RandomBytes random;
    for (int i = 0; i < 300; ++i) {
        const char encoding = static_cast<char>(i % 4);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            << id3v2(4, encoding, random.next("歌手\xFF\xFE"), random.next("")) + audio;
        readSongTags(path);
    }
}

TEST(SongTags, OnlyARegularFileIsRead) {
    QTemporaryDir folder;
    const std::string pipe = folder.filePath("pipe.mp3").toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path :
         {pipe, folder.filePath("missing.mp3").toStdString(), folder.path().toStdString()}) {
        SCOPED_TRACE(path);
        const SongTags tags = readSongTags(path);  // returns at once, without a writer
        EXPECT_TRUE(tags.artist.empty() && tags.album.empty());
    }
}

}  // namespace
}  // namespace melvo::test
