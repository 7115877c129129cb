// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song entries in list order, with one current entry. An entry is one line
// of the song list file: a path, or a path, a comma and the song's volume.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace melvo {

class SongStore {
  public:
    int count() const { return static_cast<int>(entries_.size()); }
    const std::string& entry(int index) const { return entries_.at(static_cast<size_t>(index)); }
    void replace(int index, std::string entry) {
        entries_.at(static_cast<size_t>(index)) = std::move(entry);
    }
    void append(std::string entry) { entries_.push_back(std::move(entry)); }
    void reserve(int count) { entries_.reserve(static_cast<size_t>(count)); }
    // Removes the entry; later entries move up by one. No entry is current afterwards.
    void remove(int index);
    // -1 when no entry is current.
    int current() const { return current_; }
    void setCurrent(int index) { current_ = (index >= 0 && index < count()) ? index : -1; }

  private:
    std::vector<std::string> entries_;
    int current_ = -1;
};

// An entry carries a volume when it has a comma and the text after its last
// comma is a volume: blanks, an optional sign, digits with an optional decimal
// part, blanks, or nothing at all (a trailing comma reads as 0). So a path may
// hold commas: "/m/a,b.mp3" is a path, "/m/a,b.mp3, 1500" that path and its
// volume, and every "path,volume" line without a comma in its path reads as it
// always did.
bool entryHasVolume(std::string_view entry);
// The path of an entry: the text before its last comma when it carries a
// volume, otherwise the whole entry.
std::string_view entryPath(std::string_view entry);
// The volume text of an entry: the text after its last comma; empty without a volume.
std::string_view entryVolumeText(std::string_view entry);
// The text is one a song's volume is written as (see entryHasVolume).
bool isVolumeText(std::string_view text);

}  // namespace melvo
