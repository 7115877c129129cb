// The player core's song entries: the song list file, adding, deleting and
// choosing entries, and the played marks of the current cycle.
#include "app/Jukebox.h"
#include "common/Numbers.h"
#include "library/SongListFile.h"

namespace melvo {

SongListLoad Jukebox::loadSongList() {
    SongListLoad load = loadSongListFile(songListPath(), blankLedNumber(initialVolume()));
    songListLoaded_ = load.status != SongListLoad::Status::Refused;
    if (load.heldNoSongs()) noSongsNotice = 1;
    const int first = entries_.count();
    entries_.reserve(first + static_cast<int>(load.entries.size()));
    for (std::string& entry : load.entries) entries_.append(std::move(entry));
    load.entries.clear();
    played_.resize(static_cast<size_t>(entries_.count()), false);
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(entries_.count() - first));
    for (int i = first; i < entries_.count(); ++i) paths.emplace_back(entryPath(entries_.entry(i)));
    emit songsAdded(paths);
    return load;
}

int Jukebox::saveSongList() {
    return songListLoaded_ ? saveSongListFile(songListPath(), entries_) : 0;
}

void Jukebox::addSongs(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const std::string volume = blankLedNumber(initialVolume());
    for (const std::string& path : paths) entries_.append(songEntryFor(path, volume));
    played_.resize(static_cast<size_t>(entries_.count()), false);
    emit songsAdded(paths);
}

namespace {

// An entry number after the entry at removed went: later entries move up by one.
int afterRemoval(int entry, int removed) {
    if (entry == removed) return -1;
    return entry > removed ? entry - 1 : entry;
}

}  // namespace

// Nothing points at the deleted song afterwards: when it was the chosen one,
// no song is chosen until a row is clicked.
void Jukebox::deleteEntry(int index) {
    const bool deletedChosen = entryPath(entries_.entry(index)) == chosenPath_;
    entries_.remove(index);
    played_.erase(played_.begin() + index);
    playingEntry_ = afterRemoval(playingEntry_, index);
    lastPlayedEntry_ = afterRemoval(lastPlayedEntry_, index);
    const bool listReset = index == 0 || entries_.count() == 0;
    if (listReset || deletedChosen) {
        currentPath_.clear();
        chosenPath_.clear();
        emit songChosen(chosenPath_);
    }
    emit entryDeleted(index, listReset);
}

void Jukebox::chooseEntry(int index) {
    entries_.setCurrent(index);
    applySongVolume();
}

void Jukebox::setPlayed(int index, bool played) {
    played_.at(static_cast<size_t>(index)) = played;
    emit playedMarkChanged(index, played);
}

}  // namespace melvo
