// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/lyrics/SongLyrics.h"

#include "core/common/TextFile.h"
#include "core/tags/TagReader.h"

namespace melvo {

std::optional<Lyrics> readEmbeddedLyrics(const std::string& songPath, TagEncoding encoding) {
    std::optional<std::string> text = readTagLyrics(songPath, encoding);
    if (!text) return std::nullopt;

    Lyrics lyrics;
    if (text->size() > kMaxLyricsBytes) {
        // Whole lines only, so that no character is cut in two.
        lyrics.cut = true;
        text->resize(kMaxLyricsBytes);
        const size_t lineEnd = text->find_last_of("\r\n");
        text->resize(lineEnd == std::string::npos ? 0 : lineEnd + 1);
    }
    if (cutToLyricsLines(&*text)) lyrics.cut = true;
    for (const std::string& line : splitAnyLines(*text)) lyrics.text.append(line).append("\r\n");
    if (lyrics.cut) lyrics.text.append(kLyricsLeftOutLine).append("\r\n");
    return lyrics;
}

std::string lyricsSourcePath(const std::string& songPath, LyricsSource source) {
    if (source == LyricsSource::Song) return songPath;
    return lyricsFileFor(songPath, source == LyricsSource::LrcFile ? ".lrc" : ".txt").value_or("");
}

std::optional<SongLyrics> readSongLyrics(const std::string& songPath, TagEncoding encoding) {
    if (!lyricsStem(songPath)) return std::nullopt;
    for (const LyricsSource source : {LyricsSource::TextFile, LyricsSource::LrcFile}) {
        if (std::optional<Lyrics> lyrics = readLyrics(lyricsSourcePath(songPath, source)))
            return SongLyrics{std::move(*lyrics), source};
    }
    if (std::optional<Lyrics> lyrics = readEmbeddedLyrics(songPath, encoding))
        return SongLyrics{std::move(*lyrics), LyricsSource::Song};
    return std::nullopt;
}

}  // namespace melvo
