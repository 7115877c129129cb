// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song list of the player core: the entries in list order, the current
// entry and the chosen song, the played marks of the current cycle, the entry
// that shows the playing mark, and the song list file they are kept in.
#pragma once

#include <QObject>
#include <random>
#include <string>
#include <vector>

#include "core/library/SongListFile.h"
#include "core/library/SongListSaver.h"
#include "core/library/SongStore.h"

namespace melvo {

class SongList : public QObject {
    Q_OBJECT

  public:
    SongList(std::string filePath, QObject* parent = nullptr);

    const std::string& filePath() const { return filePath_; }
    const SongStore& entries() const { return entries_; }
    int count() const { return entries_.count(); }
    int current() const { return entries_.current(); }
    std::string path(int index) const { return std::string(entryPath(entries_.entry(index))); }
    // The song the next play plays; empty when none is chosen.
    const std::string& chosenPath() const { return chosenPath_; }
    // The entry whose row shows the playing mark, or -1.
    int playingEntry() const { return playingEntry_; }
    // The entry that started playing last, or -1.
    int lastPlayedEntry() const { return lastPlayedEntry_; }
    bool isPlayed(int index) const { return played_.at(static_cast<size_t>(index)); }
    // The entry's song is in a folder that was missing (a drive not plugged
    // in): automatic play and the steps pass over it until it is back.
    bool isAvailable(int index) const { return !unavailable_.at(static_cast<size_t>(index)); }
    // Looks again at the folders of the unavailable entries; those that are
    // there again make their entries available. Each folder is looked at once.
    void refreshAvailability();
    // The nearest available entry after (forward) or before from, round the
    // end of the list; from itself when it is the only one, -1 when there is
    // none. from -1 starts before the first (forward) or after the last.
    int availableEntryFrom(int from, bool forward) const;

    // Reads the file into the entries; answers how that went, with the paths
    // of the songs that are missing and, in unavailable, the numbers of the
    // entries kept although their folders are missing. A file that could not
    // be read whole is never written.
    SongListLoad load(std::string_view initialVolume);
    // Writes the file now, when it was loaded; 0, or the errno of the failure.
    // Every change is also written on its own a few seconds later.
    int save();
    // Appends entries for the paths, each with the initial volume where its
    // path alone would read as a path and a volume.
    void append(const std::vector<std::string>& paths, std::string_view initialVolume);
    // Appends the entries as they are: each a path, or a path and its volume.
    void appendEntries(std::vector<std::string> entries);
    // Removes the entry. No entry is current afterwards, and no song is
    // chosen when the chosen one, the first or the last entry goes.
    void remove(int index);
    // Makes the entry current (-1 or an entry out of range: none).
    void setCurrent(int index) { entries_.setCurrent(index); }
    // The current entry's song becomes the chosen one; false without a current entry.
    bool chooseCurrent();
    // Keeps the volume with the entry.
    void setEntryVolume(int index, std::string_view volumeText);
    // The entry started: it is played in this cycle; when it plays, its row
    // shows the playing mark.
    void markStarted(int index, bool playing);
    // The playing mark goes from its entry.
    void unmarkPlaying();
    // Makes the song that automatic play takes next current: every available
    // song once per cycle, in list order or drawn at random; a new cycle
    // clears the marks. No entry is current when no song is available.
    void makeNextUnplayedCurrent(bool randomOrder, std::mt19937& generator);

  public slots:
    void setPlayed(int index, bool played);

  signals:
    void songChosen(const std::string& path);
    void songsAdded(const std::vector<std::string>& paths);
    // listReset: the first or the last entry went, and no song is chosen now.
    void entryDeleted(int index, bool listReset);
    void playedMarkChanged(int index, bool played);
    void playedMarksCleared();
    void availabilityChanged(int index, bool available);
    // The playing mark moves to the entry, or goes (-1).
    void playingEntryChanged(int previous, int current);

  private:
    void changed();

    std::string filePath_;
    SongListSaver* saver_;
    bool loaded_ = false;
    SongStore entries_;
    std::vector<bool> played_;
    std::vector<bool> unavailable_;
    int unavailableCount_ = 0;
    std::string chosenPath_;
    int playingEntry_ = -1;
    int lastPlayedEntry_ = -1;
};

}  // namespace melvo
