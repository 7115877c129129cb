// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/jukebox/Jukebox.h"

#include <QTimer>
#include <string_view>
#include <unordered_set>

#include "core/common/Numbers.h"
#include "core/common/TextFile.h"
#include "core/settings/Settings.h"

namespace melvo {

namespace {

std::string inFolder(const QString& folder, const char* name) {
    return (folder + "/" + name).toStdString();
}

}  // namespace

Jukebox::Jukebox(const QString& dataFolder, MediaEngine& media, Mixer& mixer, QObject* parent)
    : QObject(parent),
      dataFolder_(dataFolder),
      songs_(inFolder(dataFolder, "mvMP3.csv"), this),
      transport_(media, this),
      autoPlay_(inFolder(dataFolder, kSettingsFileName), this),
      volume_(mixer, inFolder(dataFolder, kSettingsFileName), this),
      noSongsTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("jukebox"));
    noSongsTimer_->setObjectName(QStringLiteral("noSongsNoticeTimer"));
    noSongsTimer_->setInterval(1000);
    noSongsTimer_->setSingleShot(true);
    connect(noSongsTimer_, &QTimer::timeout, this, &Jukebox::tellNoSongsIfDue);
    connect(&autoPlay_, &AutoPlay::supervise, this, &Jukebox::superviseAutoPlay);
    // A closed song takes the playing mark off its entry; the entry keeps its played mark.
    connect(&transport_, &Transport::songClosed, &songs_, &SongList::unmarkPlaying);
    connect(&songs_, &SongList::entryDeleted, this, [this](int, bool listReset) {
        if (listReset) setControls(controls_.listReset());
    });
    // Connected first, so that whoever follows a song start finds its tags read.
    connect(this, &Jukebox::songStarted, this, [this](int index) {
        if (songs_.path(index) != nowPlaying_.path())
            nowPlaying_.read(songs_.path(index), tagEncoding_);
    });
}

std::string Jukebox::settingsPath() const { return inFolder(dataFolder_, kSettingsFileName); }

// Announced also when the flags stay: the window redraws the step's colours.
void Jukebox::setControls(const ControlState& controls) {
    controls_ = controls;
    emit controlsChanged(controls_);
}

void Jukebox::loadSettings() {
    autoPlay_.loadSettings();
    volume_.loadSettings();
    const std::string encoding = readSettingOr("TAG_ENCODING", settingsPath(), "0");
    tagEncoding_ = encoding == "1"   ? TagEncoding::ShiftJis
                   : encoding == "2" ? TagEncoding::Latin1
                                     : TagEncoding::Automatic;
    tellsSongStarts_ = readSettingOr("SONG_NOTICE", settingsPath(), "1") != "0";
}

void Jukebox::setTagEncoding(TagEncoding encoding) {
    if (encoding == tagEncoding_) return;
    tagEncoding_ = encoding;
    writeSetting(std::to_string(static_cast<int>(encoding)), "TAG_ENCODING", kSettingsSection,
                 settingsPath());
    if (!nowPlaying_.path().empty()) nowPlaying_.read(nowPlaying_.path(), encoding);
    emit tagEncodingChanged(encoding);
}

void Jukebox::setTellsSongStarts(bool on) {
    if (on == tellsSongStarts_) return;
    tellsSongStarts_ = on;
    writeSetting(on ? "1" : "0", "SONG_NOTICE", kSettingsSection, settingsPath());
    emit tellsSongStartsChanged(on);
}

SongListLoad Jukebox::loadSongList() {
    SongListLoad load = songs_.load(volume_.initialVolumeText());
    // The load has moved its entries into the list.
    noSongsNoticeDue_ =
        load.status != SongListLoad::Status::Refused && songs_.count() == 0 && load.missing.empty();
    return load;
}

void Jukebox::begin() {
    if (songs_.count() == 0) {
        setControls(controls_.noSongs());
    } else {
        setControls(autoPlay_.isOn() ? controls_.autoIdle() : controls_.manualIdle());
        songs_.setCurrent(0);
        autoPlay_.arm(true);
    }
    if (noSongsNoticeDue_) noSongsTimer_->start();
    begun_ = true;
    for (const HeldSongs& held : std::exchange(heldSongFiles_, {}))
        addSongFiles(held.paths, held.source);
}

void Jukebox::finishPlaying() {
    autoPlay_.saveRandomOrder();
    volume_.restoreStartupVolume();
    stop();
}

// Songs that come in count as songs for the empty-list notice.
void Jukebox::tellNoSongsIfDue() {
    if (!std::exchange(noSongsNoticeDue_, false)) return;
    noSongsTimer_->stop();
    emit noSongsNotice();
}

int Jukebox::addSongFiles(const std::vector<std::string>& paths, SongSource source) {
    if (!begun_) {
        heldSongFiles_.push_back({paths, source});
        return 0;
    }
    // Views of the entries and of paths, which stay as they are until the end.
    std::unordered_set<std::string_view> listed;
    if (source == SongSource::Folder) {
        listed.reserve(static_cast<size_t>(songs_.count()) + paths.size());
        for (int i = 0; i < songs_.count(); ++i)
            listed.insert(entryPath(songs_.entries().entry(i)));
    }
    std::vector<std::string> songs;
    std::vector<std::string> unlistable;
    for (const std::string& path : paths) {
        if (!isSongName(path)) continue;
        if (source == SongSource::Named && !isRegularFile(path)) continue;
        if (source == SongSource::Folder && !listed.insert(path).second) continue;
        (canBeListed(path) ? songs : unlistable).push_back(path);
    }
    if (!songs.empty()) {
        songs_.append(songs, volume_.initialVolumeText());
        noSongsNoticeDue_ = false;
        if (controls_.add) setControls(controls_.songAdded());
    }
    // Told once the command is done: a message box lets other calls run.
    if (!unlistable.empty()) emit songsUnlistable(unlistable);
    return static_cast<int>(songs.size());
}

// Nothing points at the deleted song afterwards: when it was the chosen one,
// no song is current until a row is clicked.
void Jukebox::deleteEntry(int index) {
    songs_.remove(index);
    if (songs_.chosenPath().empty()) transport_.forget();
}

void Jukebox::chooseEntry(int index) {
    songs_.setCurrent(index);
    chooseCurrentSong();
}

// The current entry's song becomes the chosen one, at its own volume or else
// the initial volume.
void Jukebox::chooseCurrentSong() {
    if (!songs_.chooseCurrent()) return;
    const std::string& entry = songs_.entries().entry(songs_.current());
    volume_.applySongVolume(entryHasVolume(entry) ? std::optional(entryVolumeText(entry))
                                                  : std::nullopt);
}

void Jukebox::setPlayed(int index, bool played) { songs_.setPlayed(index, played); }

void Jukebox::play() {
    setControls(controls_.playing());
    emit playRequested(songs_.chosenPath());
    if (songs_.chosenPath().empty()) {
        transport_.forget();
        emit noSongChosen();
        return;
    }
    songs_.refreshAvailability();  // a drive plugged in again plays at once
    const bool playing = transport_.start(songs_.chosenPath());
    const int index = songs_.current();
    if (index < 0) return;
    songs_.markStarted(index, playing);
    emit songStarted(index);
}

void Jukebox::playEntry(int index) {
    stop();
    chooseEntry(index);
    play();
}

void Jukebox::pause() {
    if (transport_.pause()) autoPlay_.rest();
}

bool Jukebox::resume() {
    if (!transport_.resume()) return false;
    autoPlay_.wake();
    return true;
}

void Jukebox::stop() {
    autoPlay_.end();
    setControls(controls_.stopped());
    emit songStopped();
    transport_.stop();
}

void Jukebox::seek(int seconds) {
    if (transport_.seek(seconds)) autoPlay_.wake();
}

// The step passes over songs whose drive is not there; with no song
// available, nothing changes.
void Jukebox::stepToSong(bool forward) {
    songs_.refreshAvailability();
    const int next = songs_.availableEntryFrom(songs_.current(), forward);
    if (next < 0) return;
    emit songSkipping(forward);
    transport_.close();
    songs_.setCurrent(next);
    chooseCurrentSong();
    play();
}

void Jukebox::startAutoPlay() {
    stop();
    autoPlay_.begin();
    setControls(controls_.autoPlaying());
    emit autoPlayStarted();
    songs_.setCurrent(0);
    chooseNextAutoPlaySong();
}

void Jukebox::chooseNextAutoPlaySong() {
    songs_.refreshAvailability();
    songs_.makeNextUnplayedCurrent(autoPlay_.randomOrder(), autoPlay_.randomGenerator());
}

// A paused song is never replaced. While no song is available, each look
// finds nothing to play and the next one looks again, so automatic play goes
// on once a drive is back.
void Jukebox::superviseAutoPlay() {
    if (!autoPlay_.isOn()) return;
    if (!autoPlay_.isArmed()) {
        const MediaMode current = transport_.mode();
        if (current != MediaMode::Stopped && current != MediaMode::Closed) return;
        transport_.close();
    }
    autoPlay_.disarm();
    chooseNextAutoPlaySong();
    if (songs_.current() < 0) return;
    chooseCurrentSong();
    play();
}

void Jukebox::setSongVolume(int level) {
    volume_.setLevel(level);
    const int current = songs_.current();
    if (current < 0) return;  // no selected song to keep the volume with
    songs_.setEntryVolume(current, blankLedNumber(level));
}

}  // namespace melvo
