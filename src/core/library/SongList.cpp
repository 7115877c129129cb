// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/SongList.h"

#include <unordered_map>

#include "core/autoplay/NextSong.h"
#include "core/common/TextFile.h"

namespace melvo {

namespace {

// An entry number after the entry at removed went: later entries move up by one.
int afterRemoval(int entry, int removed) {
    if (entry == removed) return -1;
    return entry > removed ? entry - 1 : entry;
}

}  // namespace

namespace {

// How long after a change the list is written: changes in quick succession
// (a volume dragged, songs dropped one by one) make one write.
constexpr int kSaveDelayMs = 2000;

}  // namespace

SongList::SongList(std::string filePath, QObject* parent)
    : QObject(parent),
      filePath_(std::move(filePath)),
      saver_(new SongListSaver(
          filePath_, kSaveDelayMs, [this] { return songListText(entries_); }, this)) {
    setObjectName(QStringLiteral("songList"));
}

void SongList::changed() {
    if (loaded_) saver_->schedule();
}

SongListLoad SongList::load(std::string_view initialVolume) {
    SongListLoad load = loadSongListFile(filePath_, initialVolume);
    loaded_ =
        load.status == SongListLoad::Status::Loaded || load.status == SongListLoad::Status::Absent;
    const int first = entries_.count();
    entries_.reserve(first + static_cast<int>(load.entries.size()));
    for (std::string& entry : load.entries) entries_.append(std::move(entry));
    load.entries.clear();
    played_.resize(static_cast<size_t>(entries_.count()), false);
    unavailable_.resize(static_cast<size_t>(entries_.count()), false);
    for (size_t& entry : load.unavailable) {
        entry += static_cast<size_t>(first);
        unavailable_[entry] = true;
    }
    unavailableCount_ += static_cast<int>(load.unavailable.size());
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(entries_.count() - first));
    for (int i = first; i < entries_.count(); ++i) paths.push_back(path(i));
    emit songsAdded(paths);
    for (const size_t entry : load.unavailable)
        emit availabilityChanged(static_cast<int>(entry), false);
    return load;
}

int SongList::save() { return loaded_ ? saver_->saveNow().error : 0; }

void SongList::append(const std::vector<std::string>& paths, std::string_view initialVolume) {
    std::vector<std::string> entries;
    entries.reserve(paths.size());
    for (const std::string& song : paths) entries.push_back(songEntryFor(song, initialVolume));
    appendEntries(std::move(entries));
}

void SongList::appendEntries(std::vector<std::string> entries) {
    if (entries.empty()) return;
    std::vector<std::string> paths;
    paths.reserve(entries.size());
    for (std::string& entry : entries) {
        paths.emplace_back(entryPath(entry));
        entries_.append(std::move(entry));
    }
    played_.resize(static_cast<size_t>(entries_.count()), false);
    unavailable_.resize(static_cast<size_t>(entries_.count()), false);
    emit songsAdded(paths);
    changed();
}

// Nothing points at the deleted song afterwards: when it was the chosen one,
// no song is chosen until a row is clicked.
void SongList::remove(int index) {
    const bool deletedChosen = path(index) == chosenPath_;
    entries_.remove(index);
    played_.erase(played_.begin() + index);
    if (unavailable_[static_cast<size_t>(index)]) --unavailableCount_;
    unavailable_.erase(unavailable_.begin() + index);
    playingEntry_ = afterRemoval(playingEntry_, index);
    lastPlayedEntry_ = afterRemoval(lastPlayedEntry_, index);
    const bool listReset = index == 0 || entries_.count() == 0;
    if (listReset || deletedChosen) {
        chosenPath_.clear();
        emit songChosen(chosenPath_);
    }
    emit entryDeleted(index, listReset);
    changed();
}

bool SongList::chooseCurrent() {
    if (current() < 0) return false;
    chosenPath_ = path(current());
    emit songChosen(chosenPath_);
    return true;
}

void SongList::setEntryVolume(int index, std::string_view volumeText) {
    entries_.replace(index, path(index) + "," + std::string(volumeText));
    changed();
}

// A song that could not be played counts as played in this cycle, so
// automatic play goes on past it, but its row is not marked as playing.
void SongList::markStarted(int index, bool playing) {
    setPlayed(index, true);
    lastPlayedEntry_ = index;
    if (!playing) return;
    playingEntry_ = index;
    emit playingEntryChanged(-1, index);
}

void SongList::unmarkPlaying() {
    if (playingEntry_ < 0) return;
    const int previous = std::exchange(playingEntry_, -1);
    emit playingEntryChanged(previous, -1);
}

void SongList::makeNextUnplayedCurrent(bool randomOrder, std::mt19937& generator) {
    const NextSong next =
        chooseNextSong(played_, randomOrder, lastPlayedEntry_, generator, unavailable_);
    if (next.clearedMarks) emit playedMarksCleared();
    entries_.setCurrent(next.index);
}

void SongList::refreshAvailability() {
    if (unavailableCount_ == 0) return;
    std::unordered_map<std::string_view, bool> folderThere;
    for (int i = 0; i < count(); ++i) {
        if (!unavailable_[static_cast<size_t>(i)]) continue;
        const std::string_view folder = songFolder(entries_.entry(i));
        auto [known, isNew] = folderThere.try_emplace(folder, false);
        if (isNew) known->second = folderExists(std::string(folder));
        if (!known->second) continue;
        unavailable_[static_cast<size_t>(i)] = false;
        --unavailableCount_;
        emit availabilityChanged(i, true);
    }
}

int SongList::availableEntryFrom(int from, bool forward) const {
    const int n = count();
    if (n == 0) return -1;
    int entry = from < 0 ? (forward ? -1 : n) : from;
    for (int step = 0; step < n; ++step) {
        entry = forward ? (entry + 1) % n : (entry - 1 + n) % n;
        if (!unavailable_[static_cast<size_t>(entry)]) return entry;
    }
    return -1;
}

void SongList::setPlayed(int index, bool played) {
    played_.at(static_cast<size_t>(index)) = played;
    emit playedMarkChanged(index, played);
}

}  // namespace melvo
