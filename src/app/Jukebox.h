// The player core: the song entries, the chosen and the playing song, the
// played marks of the current cycle, the play state, the play modes, the
// sound through the MediaEngine and the master volume through the Mixer.
// It has no widgets. The main window (and any other way in) calls its
// commands and redraws itself from its signals, so every control that starts,
// pauses or steps songs behaves the same. The commands of each subsystem are
// defined in that subsystem's folder.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "library/SongListFile.h"
#include "library/SongStore.h"
#include "playback/MediaEngine.h"
#include "volume/Mixer.h"

class QTimer;

namespace melvo {

class Jukebox : public QObject {
    Q_OBJECT

  public:
    // dataFolder holds the settings and the song list file.
    Jukebox(const QString& dataFolder, MediaEngine& media, Mixer& mixer, QObject* parent = nullptr);

    std::string settingsPath() const;
    std::string songListPath() const;

    // Reads "AUTO", "RANDAM" and "vol" from the settings file.
    void loadSettings();
    // Whether the song list file was read in whole (or did not exist): a list
    // that was never loaded is never written.
    bool songListLoaded() const { return songListLoaded_; }

    // ---- Song entries (library) ----
    SongStore& entries() { return entries_; }
    const SongStore& entries() const { return entries_; }
    // Reads the song list file into the entries; answers how that went, with
    // the paths of the songs that are missing. Sets noSongsNotice when the file
    // held no songs. A file that could not be read whole is never written.
    SongListLoad loadSongList();
    // Writes the song list file, when it was loaded; 0, or the errno of the failure.
    int saveSongList();
    // Appends entries with the initial volume; emits songsAdded.
    void addSongs(const std::vector<std::string>& paths);
    // Removes the entry. No entry is current afterwards, and no song is chosen
    // when the chosen one, the first or the last entry goes.
    void deleteEntry(int index);
    // Makes the entry current and its song the chosen one, at its own volume.
    void chooseEntry(int index);
    // The song the next play plays; empty when none is chosen.
    const std::string& chosenPath() const { return chosenPath_; }
    // The entry whose row shows the playing mark, or -1.
    int playingEntry() const { return playingEntry_; }
    // The entry that started playing last, or -1.
    int lastPlayedEntry() const { return lastPlayedEntry_; }

    // ---- Played marks of the current cycle ----
    bool isPlayed(int index) const { return played_.at(static_cast<size_t>(index)); }
    void setPlayed(int index, bool played);

    // ---- Playback ----
    // Plays the chosen song from its start; every way of starting a song ends here.
    void play();
    void pause();
    // Only a paused song is resumed; false when there was nothing to resume.
    bool resume();
    void stop();
    // The song goes on from that second, also when it was paused.
    void seek(int seconds);
    void setRepeat(bool repeat) { repeat_ = repeat; }
    bool repeat() const { return repeat_; }
    bool isPaused() const { return paused_; }
    double songLength(const std::string& path);
    double position() const;
    MediaMode mode() const;
    // The song position() and mode() tell of: the one play last opened or asked for.
    const std::string& currentPath() const { return currentPath_; }
    // The 100 ms tick while a song is open: reports the position and notices
    // the end of the song (restarting it when repeat is on).
    void pollPosition();
    QTimer* positionTimer;

    // ---- Play modes and automatic play (autoplay) ----
    bool autoPlayOn() const;
    // Stores the mode chosen in the menu as "AUTO".
    void setAutoPlayMode(bool on);
    void setRandomOrder(bool random) { randomOrder_ = random; }
    bool randomOrder() const { return randomOrder_; }
    // Stores the random order as "RANDAM", once the settings have been read.
    void saveRandomOrder();
    // Starts supervising automatic play when it is on and there are songs:
    // the first song starts about a second later.
    void beginAutoPlaySupervision();
    // Stops what plays and plays the whole list from its start.
    void startAutoPlay();
    void next();
    void previous();
    // The one-second supervisor of automatic play: starts the first song when
    // armed and the next one when the playing song has ended.
    void superviseAutoPlay();
    QTimer* autoPlayTimer;
    std::mt19937 randomGenerator{std::random_device{}()};

    // ---- Volume (volume) ----
    // Opens the mixer and finds its master volume; 0, or the mixer's error code
    // (1025 for a missing master volume, which is no error to show).
    long openMixer();
    bool mixerOpened() const { return mixerOpened_; }
    const MixerControl& volumeControl() const { return volumeControl_; }
    std::uint32_t startupVolume() const { return startupVolume_; }
    void restoreStartupVolume();
    void closeMixer();
    // The user set the volume: it goes to the master volume and is kept with
    // the current entry.
    void setSongVolume(int sliderValue);
    // The initial volume of songs without one of their own, stored as "vol".
    void setInitialVolume(int sliderValue);
    int initialVolume() const;
    // The volume sliders' range: the master volume's while the mixer is open,
    // else 0..10.
    std::pair<int, int> volumeRange() const;

    int noSongsNotice = 0;

  signals:
    void songChosen(const std::string& path);
    void songsAdded(const std::vector<std::string>& paths);
    // listReset: the first or the last entry went, and no song is chosen now.
    void entryDeleted(int index, bool listReset);
    void playedMarkChanged(int index, bool played);
    void playedMarksCleared();
    // The playing mark moves to the entry, or goes (-1).
    void playingEntryChanged(int previous, int current);
    // A play was asked for the chosen song, before anything is opened.
    void playRequested(const std::string& path);
    void noSongChosen();
    void songLengthKnown(double seconds);
    void songStarted(int index);
    void songPaused();
    void songResumed();
    void songStopped();
    void songEnded();
    // The song goes on from that second: after a seek, or from 0 when
    // repeat starts it again.
    void songSeeked(int seconds);
    void positionChanged(double seconds, MediaMode mode);
    // Next (forward) or previous was asked for, before the song changes.
    void songSkipping(bool forward);
    void autoPlayStarted();
    void volumeChanged(int sliderValue);
    void outputFailed(const QString& reason);

  private:
    bool openAndPlay(const std::string& path);
    void closeSong(const std::string& path);
    void applySongVolume();
    void setMasterVolume(std::uint32_t value);
    void selectNextAutoPlaySong();
    void stepToSong(bool forward);
    // Starts the position ticks again, and the supervisor when a pause rested it.
    void goOnTicking();
    void clearPlayed();

    QString dataFolder_;
    bool settingsLoaded_ = false;
    bool songListLoaded_ = false;
    MediaEngine& media_;
    Mixer& mixer_;

    SongStore entries_;
    std::vector<bool> played_;
    std::string chosenPath_;
    std::string currentPath_;  // the song play last opened or asked for
    std::string lastOpenedPath_;
    int playingEntry_ = -1;
    int lastPlayedEntry_ = -1;

    bool paused_ = false;
    bool repeat_ = false;
    bool randomOrder_ = false;
    std::string autoPlayMode_ = "0";
    bool autoPlayArmed_ = false;
    bool supervisorResting_ = false;  // automatic play waits for a paused song  // the supervisor's
                                      // next tick starts the first song
    bool outputFailureShown_ = false;

    std::string initialVolumeSetting_ = "6553";
    bool mixerOpened_ = false;
    MixerControl volumeControl_;
    std::uint32_t startupVolume_ = 0;
};

}  // namespace melvo
