// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The player core's transport: the MediaEngine, the open song, pause and
// repeat, and the 100 ms tick that reports the position while a song is open.
// Times are seconds toward the callers and milliseconds toward the engine.
#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "core/playback/MediaEngine.h"

class QTimer;

namespace melvo {

class Transport : public QObject {
    Q_OBJECT

  public:
    explicit Transport(MediaEngine& media, QObject* parent = nullptr);

    // The song position() and mode() tell of: the one last started, or none.
    const std::string& currentPath() const { return currentPath_; }
    double position() const;
    MediaMode mode() const;
    bool isPaused() const { return paused_; }
    bool repeat() const { return repeat_; }
    // Opens and closes the path around the query, so asking the length of the
    // song that plays closes it.
    double songLength(const std::string& path) const;

    // Plays the song from its start, closing the one opened before; reports
    // its length first. False when it could not be played.
    bool start(const std::string& path);
    // Pauses a playing song; false, and nothing changes, when none plays.
    bool pause();
    // Only a paused song is resumed; false when there was nothing to resume.
    bool resume();
    // Closes the current song and reports the closed state.
    void stop();
    // Closes the current song without a word (the next one is about to start).
    void close();
    // No song is current any more (its entry went).
    void forget() { currentPath_.clear(); }
    // The song goes on from that second, also when it was paused; false, and
    // nothing is reported, when no song is open to move in.
    bool seek(int seconds);

  public slots:
    void setRepeat(bool repeat);
    // The 100 ms tick while a song is open: reports the position and notices
    // the end of the song (restarting it when repeat is on).
    void pollPosition();

  signals:
    void repeatChanged(bool repeat);
    void songLengthKnown(double seconds);
    void songPaused();
    void songResumed();
    void songEnded();
    // The song goes on from that second: after a seek, or from 0 when
    // repeat starts it again.
    void songSeeked(int seconds);
    void positionChanged(double seconds, MediaMode mode);
    // The song that was open is closed.
    void songClosed();
    void outputFailed(const QString& reason);

  private:
    bool openAndPlay(const std::string& path);
    void closeSong(const std::string& path);

    MediaEngine& media_;
    QTimer* positionTimer_;
    std::string currentPath_;
    std::string lastOpenedPath_;
    bool paused_ = false;
    bool repeat_ = false;
    bool outputFailureShown_ = false;
};

}  // namespace melvo
