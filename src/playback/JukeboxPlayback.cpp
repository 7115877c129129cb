// The player core's playback: the chosen song is opened, played, paused,
// measured and closed through the MediaEngine by its full path. Times are
// seconds toward the callers and milliseconds toward the engine.
#include <QTimer>

#include "app/Jukebox.h"
#include "common/Numbers.h"

namespace melvo {

namespace {

double toSeconds(std::int64_t milliseconds) { return static_cast<double>(milliseconds) / 1000.0; }

}  // namespace

// Without sound output nothing can be heard at all, so the failure is told
// once per run; later failures of the same kind are only drained.
bool Jukebox::openAndPlay(const std::string& path) {
    media_.open(path);
    const bool playing = media_.play(path);
    const std::string reason = media_.takeOutputError();
    if (!reason.empty() && !outputFailureShown_) {
        outputFailureShown_ = true;  // before the signal: a modal box lets timers tick
        emit outputFailed(QString::fromStdString(reason));
    }
    return playing;
}

// Closes the device and takes the playing mark off its entry, whichever path
// was given. The entry keeps its played mark.
void Jukebox::closeSong(const std::string& path) {
    media_.close(path);
    if (playingEntry_ < 0) return;
    const int previous = std::exchange(playingEntry_, -1);
    emit playingEntryChanged(previous, -1);
}

// Opens and closes the path around the query, so asking the length of the
// song that plays closes it.
double Jukebox::songLength(const std::string& path) {
    media_.open(path);
    const std::int64_t length = media_.lengthMs(path);
    media_.close(path);
    return toSeconds(length);
}

double Jukebox::position() const { return toSeconds(media_.positionMs(currentPath_)); }

MediaMode Jukebox::mode() const { return media_.mode(currentPath_); }

void Jukebox::play() {
    emit playRequested(chosenPath_);
    currentPath_ = chosenPath_;
    if (currentPath_.empty()) {
        emit noSongChosen();
        return;
    }
    // The length query opens and closes the path, so a song that is playing
    // stops here and starts again from the beginning below.
    emit songLengthKnown(songLength(currentPath_));

    closeSong(lastOpenedPath_);
    const bool playing = openAndPlay(currentPath_);
    lastOpenedPath_ = currentPath_;
    positionTimer->start();

    const int index = entries_.current();
    if (index < 0) return;
    // A song that could not be played counts as played in this cycle, so
    // automatic play goes on past it, but its row is not marked as playing.
    setPlayed(index, true);
    lastPlayedEntry_ = index;
    if (playing) {
        playingEntry_ = index;
        emit playingEntryChanged(-1, index);
    }
    emit songStarted(index);
}

// While a song is paused nothing ticks: the position is shown once, and the
// supervisor of automatic play rests until the song goes on.
void Jukebox::pause() {
    paused_ = true;
    emit songPaused();
    media_.pause(currentPath_);
    positionTimer->stop();
    if (autoPlayTimer->isActive()) {
        autoPlayTimer->stop();
        supervisorResting_ = true;
    }
    pollPosition();
}

bool Jukebox::resume() {
    if (!paused_) return false;
    paused_ = false;
    emit songResumed();
    media_.resume(currentPath_);
    goOnTicking();
    return true;
}

void Jukebox::goOnTicking() {
    positionTimer->start();
    if (std::exchange(supervisorResting_, false)) autoPlayTimer->start();
}

void Jukebox::stop() {
    autoPlayTimer->stop();
    supervisorResting_ = false;
    positionTimer->stop();
    emit songStopped();
    closeSong(currentPath_);
    autoPlayMode_ = "0";
    pollPosition();  // reports the closed state: 0.0 and no mode
}

// The seek leaves the device stopped at the new place; the play that follows
// goes on from there, also when the song was paused.
void Jukebox::seek(int seconds) {
    media_.seek(currentPath_, static_cast<std::int64_t>(seconds) * 1000);
    if (media_.play(currentPath_)) goOnTicking();
    emit songSeeked(seconds);
}

// Ticks stop once nothing is open any more: the tick after a song ended shows
// the closed state, and the read-outs stay so.
void Jukebox::pollPosition() {
    const MediaMode current = mode();
    emit positionChanged(position(), current);
    if (current == MediaMode::Closed) positionTimer->stop();
    if (current != MediaMode::Stopped) return;
    // The close takes the playing mark off the entry; a restart does not put it back.
    closeSong(currentPath_);
    if (repeat_) {
        if (openAndPlay(currentPath_)) {
            emit songSeeked(0);
            return;
        }
        // A song that cannot start again (its file gone, no sound output)
        // ends here instead of being retried at every tick.
        closeSong(currentPath_);
    }
    emit songEnded();
}

}  // namespace melvo
