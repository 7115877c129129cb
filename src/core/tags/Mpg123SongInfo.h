// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song list's tags as libmpg123 reads them: title, artist and album of
// the ID3 tags, and no length. It stands in until the one tag reader reads
// every field.
#pragma once

#include <optional>
#include <string>

#include "core/tags/SongInfo.h"

namespace melvo {

// Names what this reading finds, for the tag cache.
inline constexpr const char* kMpg123SongInfoId = "mpg123-id3";

// Nothing when the file has no ID3 tag or cannot be read.
std::optional<SongInfo> readMpg123SongInfo(const std::string& path);

}  // namespace melvo
