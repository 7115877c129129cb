// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Finding the MP3 files under folders: plain file-system work with no window,
// run apart from the window's thread. The walk can be cancelled and tells how
// many songs it has found so far.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace melvo {

// Shared between a search and the window: the window may cancel it at any
// time and reads how many songs it has found.
struct SearchControl {
    std::atomic<bool> cancelled{false};
    std::atomic<int> found{0};
};

// Natural order of names: runs of digits compare by their value ("2" before
// "10"), other bytes by their value with ASCII letters of either case alike;
// names that still tie compare byte by byte.
bool naturalLess(std::string_view a, std::string_view b);

// What walking gave: the songs in walking order and what was passed over.
struct FolderWalkResult {
    std::vector<std::string> songs;
    int unreadableFolders = 0;  // folders that could not be opened or read
    int unlistableNames = 0;    // MP3 files whose path holds a CR or an LF
    bool cancelled = false;     // the walk stopped early; songs is incomplete
};

// Walks each folder and its sub-folders, following symbolic links, and
// collects the regular files whose names end in ".mp3" in any case. Songs come folder by
// folder: a folder's own files in natural order, then each of its sub-folders
// in natural order. A folder already walked (by device and inode) is not
// walked again, so a link loop or a second link to a folder adds nothing.
// Songs removed before the walk ends are left out.
FolderWalkResult walkFolders(const std::vector<std::string>& roots, SearchControl& control);

}  // namespace melvo
