// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The player core: it owns the song list, the transport, automatic play and
// the volume, and holds the commands that span them. It has no widgets: the
// window, the desktop's media controls and songs handed in from outside all
// call these commands and follow these signals (and those of the parts), so
// every way in behaves the same. What may be done next is its rule too.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "core/autoplay/AutoPlay.h"
#include "core/jukebox/ControlState.h"
#include "core/library/SongList.h"
#include "core/playback/MediaEngine.h"
#include "core/playback/Transport.h"
#include "core/tags/NowPlaying.h"
#include "core/tags/TagReader.h"
#include "core/volume/Mixer.h"
#include "core/volume/Volume.h"

class QTimer;

namespace melvo {

// Where the songs handed to an add come from, which decides how they are taken.
enum class SongSource {
    Named,     // named by the user or another program: each file is looked up; repeats join
    Playlist,  // read from a playlist, where each was just looked up: repeats join
    Folder,    // found in folders, where each was just looked up: songs listed are passed over
};

class Jukebox : public QObject {
    Q_OBJECT

  public:
    // dataFolder holds the settings and the song list file.
    Jukebox(const QString& dataFolder, MediaEngine& media, Mixer& mixer, QObject* parent = nullptr);

    std::string settingsPath() const;
    const SongList& songList() const { return songs_; }
    const Transport& transport() const { return transport_; }
    const AutoPlay& autoPlay() const { return autoPlay_; }
    const Volume& volume() const { return volume_; }
    const ControlState& controls() const { return controls_; }
    // How the tag readers read texts whose character set a tag does not name.
    TagEncoding tagEncoding() const { return tagEncoding_; }
    // The playing song's tags and picture, read as it starts.
    const NowPlaying& nowPlaying() const { return nowPlaying_; }
    // The desktop is told of each song start (SONG_NOTICE, on by default).
    bool tellsSongStarts() const { return tellsSongStarts_; }
    // begin() has run: songs handed in are added at once, not held.
    bool begun() const { return begun_; }
    // The empty-list notice waits for its moment.
    bool noSongsNoticeDue() const { return noSongsNoticeDue_; }

    // ---- Start-up and exit ----
    // Opens the mixer; 0, or the mixer's error code (see Volume::openMixer).
    long openMixer() { return volume_.openMixer(); }
    // Reads the play modes, the initial volume and the tag encoding from the
    // settings file.
    void loadSettings();
    // Reads the song list file (see SongList::load).
    SongListLoad loadSongList();
    // The list is loaded: the controls fit it, automatic play is armed, and
    // songs handed in meanwhile are added. About a second later the user is
    // told once when the list file held no songs and none have come since.
    void begin();
    // Gives the master volume back, stores the random order and stops the song.
    void finishPlaying();
    int saveSongList() { return songs_.save(); }
    void closeMixer() { volume_.closeMixer(); }

  public slots:
    // ---- Songs ----
    // The one way songs come in, at any time: the existing MP3 files among
    // paths (file-system bytes) are appended in order, names the list cannot
    // hold (canBeListed) are refused and told in one signal; songs that come
    // before begin() wait for it. Appending
    // never disturbs what plays. Songs of a playlist or a folder were looked
    // up as they were found and are not looked up again; songs found in
    // folders that the list holds, or that come twice, are passed over.
    // Answers how many were appended.
    int addSongFiles(const std::vector<std::string>& paths, SongSource source = SongSource::Named);
    // Appends the entries as they are, with no check: each a path, or a path
    // and its volume.
    void appendEntries(const std::vector<std::string>& entries) { songs_.appendEntries(entries); }
    // Removes the entry; see SongList::remove.
    void deleteEntry(int index);
    // Makes the entry current and its song the chosen one, at its own volume.
    void chooseEntry(int index);
    void setPlayed(int index, bool played);

    // ---- Playing ----
    // Plays the chosen song from its start; every way of starting a song ends here.
    void play();
    // Stops what plays, chooses the entry and plays it.
    void playEntry(int index);
    void pause();
    // Only a paused song is resumed; false when there was nothing to resume.
    bool resume();
    void stop();
    // The song goes on from that second, also when it was paused.
    void seek(int seconds);
    void setRepeat(bool repeat) { transport_.setRepeat(repeat); }
    void next() { stepToSong(true); }
    void previous() { stepToSong(false); }

    // ---- Automatic play ----
    // Stores the mode chosen in the menu.
    void setAutoPlayMode(bool on) { autoPlay_.chooseMode(on); }
    void setRandomOrder(bool random) { autoPlay_.setRandomOrder(random); }
    // Stops what plays and plays the whole list from its start.
    void startAutoPlay();
    // The one-second supervisor of automatic play: starts the first song when
    // armed and the next one when the playing song has ended.
    void superviseAutoPlay();

    // ---- Volume ----
    // The user set the volume: it goes to the master volume and is kept with
    // the current entry.
    void setSongVolume(int level);
    // The initial volume of songs without one, stored as "vol".
    void setInitialVolume(int level) { volume_.setInitialVolume(level); }

    // ---- Tags ----
    // Stores the tag encoding chosen in the menu (TAG_ENCODING: 0 automatic,
    // 1 Shift-JIS, 2 Latin-1); those who show tags read them again.
    void setTagEncoding(TagEncoding encoding);
    // Where the pictures carried in songs' tags are written for the desktop.
    void setArtFolder(const std::string& folder) { nowPlaying_.setArtFolder(folder); }
    // Stores whether the desktop is told of each song start.
    void setTellsSongStarts(bool on);

    // Shows the empty-list notice when it is due, once.
    void tellNoSongsIfDue();

  signals:
    // A play was asked for the chosen song, before anything is opened.
    void playRequested(const std::string& path);
    void noSongChosen();
    void songStarted(int index);
    void songStopped();
    // Next (forward) or previous was asked for, before the song changes.
    void songSkipping(bool forward);
    void autoPlayStarted();
    // Files handed in with one add have names the list cannot hold.
    void songsUnlistable(const std::vector<std::string>& paths);
    void noSongsNotice();
    void controlsChanged(const ControlState& controls);
    void tagEncodingChanged(TagEncoding encoding);
    void tellsSongStartsChanged(bool on);

  private:
    void setControls(const ControlState& controls);
    void chooseCurrentSong();
    void chooseNextAutoPlaySong();
    void stepToSong(bool forward);

    QString dataFolder_;
    SongList songs_;
    Transport transport_;
    AutoPlay autoPlay_;
    Volume volume_;
    ControlState controls_;
    TagEncoding tagEncoding_ = TagEncoding::Automatic;
    NowPlaying nowPlaying_;
    bool tellsSongStarts_ = true;
    QTimer* noSongsTimer_;
    bool noSongsNoticeDue_ = false;
    bool begun_ = false;
    struct HeldSongs {
        std::vector<std::string> paths;
        SongSource source;
    };
    std::vector<HeldSongs> heldSongFiles_;  // handed in before begin()
};

}  // namespace melvo
