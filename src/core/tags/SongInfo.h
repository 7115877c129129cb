// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// What a song's tags say of it, as the list, the media controls and the
// lyrics show it.
#pragma once

#include <cstdint>
#include <string>

namespace melvo {

// UTF-8 texts; empty (or 0) where the song's tags have no such field.
struct SongInfo {
    std::string title;
    std::string artist;
    std::string album;
    std::string albumArtist;
    int trackNumber = 0;
    int year = 0;
    std::int64_t lengthMs = 0;  // from the audio properties: an estimate until measured on play
};

}  // namespace melvo
