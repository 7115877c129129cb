// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/playback/Transport.h"

#include <QTimer>

namespace melvo {

namespace {

double toSeconds(std::int64_t milliseconds) { return static_cast<double>(milliseconds) / 1000.0; }

}  // namespace

Transport::Transport(MediaEngine& media, QObject* parent)
    : QObject(parent), media_(media), positionTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("transport"));
    positionTimer_->setObjectName(QStringLiteral("positionTimer"));
    positionTimer_->setInterval(100);
    connect(positionTimer_, &QTimer::timeout, this, &Transport::pollPosition);
}

double Transport::position() const { return toSeconds(media_.positionMs(currentPath_)); }

MediaMode Transport::mode() const { return media_.mode(currentPath_); }

void Transport::setRepeat(bool repeat) {
    if (std::exchange(repeat_, repeat) != repeat) emit repeatChanged(repeat);
}

double Transport::songLength(const std::string& path) const {
    media_.open(path);
    const std::int64_t length = media_.lengthMs(path);
    media_.close(path);
    return toSeconds(length);
}

// Without sound output nothing can be heard at all, so the failure is told
// once per run; later failures of the same kind are only drained.
bool Transport::openAndPlay(const std::string& path) {
    media_.open(path);
    const bool playing = media_.play(path);
    const std::string reason = media_.takeOutputError();
    if (!reason.empty() && !outputFailureShown_) {
        outputFailureShown_ = true;  // before the signal: a modal box lets timers tick
        emit outputFailed(QString::fromStdString(reason));
    }
    return playing;
}

// Closes the device, whichever path was given. The pause stays, so a resume
// after a stop and a new play goes on with the new song.
void Transport::closeSong(const std::string& path) {
    media_.close(path);
    emit songClosed();
}

bool Transport::start(const std::string& path) {
    currentPath_ = path;
    // The length query opens and closes the path, so a song that is playing
    // stops here and starts again from the beginning below.
    emit songLengthKnown(songLength(path));
    closeSong(lastOpenedPath_);
    const bool playing = openAndPlay(path);
    lastOpenedPath_ = path;
    positionTimer_->start();
    return playing;
}

// While a song is paused nothing ticks: the position is shown once.
bool Transport::pause() {
    if (mode() != MediaMode::Playing) return false;
    paused_ = true;
    emit songPaused();
    media_.pause(currentPath_);
    positionTimer_->stop();
    pollPosition();
    return true;
}

bool Transport::resume() {
    if (!paused_ || mode() == MediaMode::Closed) return false;
    paused_ = false;
    emit songResumed();
    media_.resume(currentPath_);
    positionTimer_->start();
    return true;
}

void Transport::stop() {
    positionTimer_->stop();
    closeSong(currentPath_);
    pollPosition();  // reports the closed state: 0.0 and no mode
}

void Transport::close() { closeSong(currentPath_); }

// The seek leaves the device stopped at the new place; the play that follows
// goes on from there, also when the song was paused.
bool Transport::seek(int seconds) {
    if (!media_.seek(currentPath_, static_cast<std::int64_t>(seconds) * 1000)) return false;
    const bool goesOn = media_.play(currentPath_);
    if (goesOn) positionTimer_->start();
    emit songSeeked(seconds);
    return goesOn;
}

// Ticks stop once nothing is open any more: the tick after a song ended shows
// the closed state, and the read-outs stay so.
void Transport::pollPosition() {
    const MediaMode current = mode();
    emit positionChanged(position(), current);
    if (current == MediaMode::Closed) positionTimer_->stop();
    if (current != MediaMode::Stopped) return;
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
