// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Playlists in the M3U form: a text file with one song per line, its path or
// a file:// URL; lines starting with "#" (#EXTM3U, #EXTINF...) carry nothing
// for the list. ".m3u8" files are UTF-8; an ".m3u" file whose bytes are not
// UTF-8 was written on Japanese Windows in CP932.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/TextFile.h"
#include "core/library/FolderWalk.h"

namespace melvo {

// The largest playlist read: far beyond 100,000 songs.
inline constexpr size_t kMaxPlaylistBytes = 64 << 20;

// The name ends in ".m3u" or ".m3u8", in any letter case.
bool isPlaylistName(std::string_view name);

// What reading a playlist gave: its songs in its order and what was passed over.
struct PlaylistRead {
    FileRead::Status status = FileRead::Status::Failed;  // Read: the rest holds the lines
    int error = 0;                                       // errno when Failed
    bool tooLarge = false;  // longer than kMaxPlaylistBytes: nothing was read
    std::vector<std::string> songs;
    int missing = 0;  // lines naming no file (also names the list cannot hold)
    int folders = 0;  // lines naming a folder
    int itself = 0;   // lines naming this playlist
    int others = 0;   // lines naming no MP3 file: another kind of file, a URL of no local file
    bool cancelled = false;
};

// Reads the playlist at path, its lines one after another, so blank and
// comment lines cost nothing kept. Relative paths are taken from the
// playlist's folder, with a backslash as a folder separator; file:// URLs are
// decoded to their bytes. Songs are regular files (also through links) whose
// names end in ".mp3"; the playlist itself is never one of them. A line of a CP932 ".m3u" names the
// file of its own bytes when that exists, else the file of its UTF-8 form.
PlaylistRead readPlaylist(const std::string& path, SearchControl& control);

// The M3U8 text of the paths: "#EXTM3U", then each path as an absolute path
// (a relative one taken from the current folder), one a line, ending in LF.
// Paths stay the file system's bytes.
std::string playlistText(const std::vector<std::string>& paths);

// Writes playlistText to path, replacing the file atomically; 0, or the errno
// of the failure.
int writePlaylist(const std::string& path, const std::vector<std::string>& paths);

}  // namespace melvo
