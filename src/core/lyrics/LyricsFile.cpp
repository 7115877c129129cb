// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/lyrics/LyricsFile.h"

#include <algorithm>

#include "core/common/TextFile.h"

namespace melvo {

namespace {

// Characters (not bytes) of UTF-8 text before byte offset end.
size_t charactersBefore(const std::string& text, size_t end) {
    size_t count = 0;
    for (size_t i = 0; i < end; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
    }
    return count;
}

// Characters before byte offset at, -1 for no match.
long characterPosition(const std::string& text, size_t at) {
    return at == std::string::npos ? -1 : static_cast<long>(charactersBefore(text, at));
}

}  // namespace

std::optional<std::string> lyricsStem(const std::string& songPath) {
    size_t at = songPath.find(".mp3");
    long p = characterPosition(songPath, at);
    if (p <= 0) {
        at = songPath.find(".MP3");
        p = characterPosition(songPath, at);
    }
    if (p <= 1) return std::nullopt;
    return songPath.substr(0, at);
}

std::optional<std::string> lyricsFileFor(const std::string& songPath, const char* extension) {
    std::optional<std::string> stem = lyricsStem(songPath);
    if (!stem) return std::nullopt;
    return *stem + extension;
}

std::optional<Lyrics> readLyrics(const std::string& lyricsPath) {
    FileRead file = readRegularFile(lyricsPath, kMaxLyricsBytes);
    if (file.status != FileRead::Status::Read) return std::nullopt;
    // Whole lines only, so that no character is cut in two.
    if (file.cut) file.bytes.resize(wholeLinesLength(file.bytes));
    std::string content = textFileToUtf8(file.bytes);
    Lyrics lyrics;
    lyrics.cut = cutToLyricsLines(&content) || file.cut;
    lyrics.text.reserve(content.size() + 64);
    for (const std::string& line : splitCrLines(content)) lyrics.text.append(line).append("\r\n");
    if (lyrics.cut) lyrics.text.append(kLyricsLeftOutLine).append("\r\n");
    return lyrics;
}

bool cutToLyricsLines(std::string* text) {
    size_t start = 0;
    for (size_t line = 0; start < text->size(); ++line) {
        const size_t end = std::min(text->find_first_of("\r\n", start), text->size());
        if (line == kMaxLyricsLines) {
            text->resize(start);
            return true;
        }
        if (end - start > kMaxLyricsLineBytes) {
            text->resize(wholeCharactersLength(*text, start + kMaxLyricsLineBytes, start));
            return true;
        }
        start = end + (text->compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return false;
}

std::string lyricsTitleFor(const std::string& songPath) {
    std::string title = songPath.substr(songPath.rfind('/') + 1);
    const size_t hyphen = title.find('-');
    if (hyphen != std::string::npos) title.erase(0, hyphen + 1);
    return title;
}

std::string withCrLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string withLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

FileReplacement saveLyrics(const std::string& target, std::string_view text) {
    // The rename replaces the old lyrics in one step, so there is no moment
    // without them.
    const std::string file = target + ".txt";
    const std::optional<std::string> linked = linkTarget(file);
    std::string stem = target;
    if (linked && *linked != file)
        stem = linked->ends_with(".txt") ? linked->substr(0, linked->size() - 4) : *linked;
    return replaceFile(file, withCrLfLineEnds(text) + "\r\n", stem + ".TMP");
}

}  // namespace melvo
