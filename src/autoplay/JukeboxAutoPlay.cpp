// The player core's automatic play: the play modes, next and previous, and the
// supervisor that starts one song after another.
#include <QTimer>

#include "app/Jukebox.h"
#include "autoplay/NextSong.h"
#include "settings/Settings.h"

namespace melvo {

void Jukebox::setAutoPlayMode(bool on) {
    autoPlayMode_ = on ? "1" : "0";
    writeSetting(autoPlayMode_, "AUTO", kSettingsSection, settingsPath());
}

void Jukebox::saveRandomOrder() {
    if (!settingsLoaded_) return;
    writeSetting(randomOrder_ ? "1" : "0", "RANDAM", kSettingsSection, settingsPath());
}

void Jukebox::beginAutoPlaySupervision() {
    autoPlayArmed_ = true;
    if (autoPlayOn() && entries_.count() > 0) autoPlayTimer->start();
}

void Jukebox::selectNextAutoPlaySong() {
    const NextSong next = chooseNextSong(played_, randomOrder_, lastPlayedEntry_, randomGenerator);
    if (next.clearedMarks) emit playedMarksCleared();
    entries_.setCurrent(next.index);
}

void Jukebox::startAutoPlay() {
    stop();
    autoPlayMode_ = "1";
    autoPlayTimer->start();
    emit autoPlayStarted();
    entries_.setCurrent(0);
    selectNextAutoPlaySong();
    autoPlayArmed_ = true;
}

namespace {

// The entry after current, or the first after the last (also when none is current).
int followingEntry(int current, int count) { return current < count - 1 ? current + 1 : 0; }

// The entry before current, or the last before the first (also when none is current).
int precedingEntry(int current, int count) { return current > 0 ? current - 1 : count - 1; }

}  // namespace

void Jukebox::next() { stepToSong(true); }

void Jukebox::previous() { stepToSong(false); }

void Jukebox::stepToSong(bool forward) {
    emit songSkipping(forward);
    closeSong(currentPath_);
    const int current = entries_.current();
    const int count = entries_.count();
    entries_.setCurrent(forward ? followingEntry(current, count) : precedingEntry(current, count));
    applySongVolume();
    currentPath_ = chosenPath_;
    emit songLengthKnown(songLength(currentPath_));
    play();
}

// A paused song is never replaced.
void Jukebox::superviseAutoPlay() {
    if (!autoPlayOn()) return;
    if (autoPlayArmed_) {
        selectNextAutoPlaySong();
        applySongVolume();
        play();
        autoPlayArmed_ = false;
        return;
    }
    const MediaMode current = mode();
    if (current != MediaMode::Stopped && current != MediaMode::Closed) return;
    closeSong(currentPath_);
    selectNextAutoPlaySong();
    applySongVolume();
    currentPath_ = chosenPath_;
    emit songLengthKnown(songLength(currentPath_));
    play();
}

}  // namespace melvo
