// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/tags/Mpg123SongInfo.h"

#include "core/playback/SongTags.h"

namespace melvo {

namespace {

std::string fromV2(const mpg123_string* text) {
    return text && text->fill > 1 ? std::string(text->p, text->fill - 1) : std::string();
}

}  // namespace

std::optional<SongInfo> readMpg123SongInfo(const std::string& path) {
    std::optional<SongInfo> info;
    readId3Tags(path, [&info](const mpg123_id3v1*, const mpg123_id3v2* v2) {
        if (!v2) return;
        info.emplace();
        info->title = fromV2(v2->title);
        info->artist = fromV2(v2->artist);
        info->album = fromV2(v2->album);
    });
    if (info && info->title.empty() && info->artist.empty() && info->album.empty()) return {};
    return info;
}

}  // namespace melvo
