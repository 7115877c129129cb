// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The jukebox on the desktop's media controls: the MPRIS 2 interfaces on the
// D-Bus session bus, so media keys, the sound menu and tools like playerctl
// drive it. Each method calls the player core's command, and only while its
// control state allows it; each property reads the core. Changes are
// announced as PropertiesChanged once the core's signals have all been
// followed; the position is not announced (clients read it), only the jumps
// of a seek, as Seeked.
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <cstdint>
#include <string>
#include <vector>

#include "core/playback/MediaEngine.h"

namespace melvo {

class Jukebox;
class MprisPlayer;

// What the media controls ask of the program around the core.
class MprisHost {
  public:
    virtual ~MprisHost() = default;
    // Brings the jukebox's window to the front.
    virtual void raise() = 0;
    // Runs the exit steps, as the exit button does.
    virtual void quit() = 0;
};

class Mpris : public QObject, protected QDBusContext {
    Q_OBJECT

  public:
    // Follows the player core from now on; make it once it has started up.
    Mpris(Jukebox& jukebox, MprisHost& host);
    ~Mpris() override;

    // Offers the jukebox on the bus as org.mpris.MediaPlayer2.melvo or, while
    // another jukebox holds that name, as ...melvo.instance<process id>.
    // False, and nothing is offered, when the bus is not connected.
    bool publish(const QDBusConnection& bus);
    // The bus name taken by publish; empty before.
    QString serviceName() const { return serviceName_; }

    // ---- org.mpris.MediaPlayer2 ----
    void raise();
    void quit();

    // ---- org.mpris.MediaPlayer2.Player: commands ----
    void playPause();
    void play();
    void pause();
    void stop();
    void next();
    void previous();
    // Moves by offset microseconds; past the end of the song it is next.
    void seek(std::int64_t offset);
    // Moves to position microseconds of the song named by track.
    void setPosition(const QDBusObjectPath& track, std::int64_t position);
    // Adds the MP3 an absolute file:// URI names, as every way in adds songs,
    // and plays it; false, and nothing happens, for any other URI.
    bool openUri(const QString& uri);
    // Whether one more call is taken now: a steady few a second, and a short burst.
    bool admit();
    // Answers the call being handled with an error, when it came over the bus.
    void refuse(QDBusError::ErrorType type, const QString& why) const;

    // ---- org.mpris.MediaPlayer2.Player: properties ----
    QString playbackStatus() const;
    std::int64_t position() const;
    QVariantMap metadata() const;
    QString loopStatus() const;
    void setLoopStatus(const QString& status);
    bool shuffle() const;
    void setShuffle(bool on);
    double volume() const;
    void setVolume(double volume);
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canPause() const;
    bool canSeek() const;

  private:
    void follow();
    void scheduleAnnouncement();
    void announceChanges();
    QVariantMap announcedProperties() const;
    QString statusOf(MediaMode mode) const;
    // The entry whose song plays, else the current one while a song is
    // chosen (the one Play plays); -1 for none.
    int trackEntry() const;
    std::string trackPath() const;
    QDBusObjectPath trackId(int entry) const;
    std::int64_t lengthOf(const std::string& path) const;

    Jukebox& jukebox_;
    MprisHost& host_;
    MprisPlayer* player_;
    QDBusConnection bus_;
    QString serviceName_;
    QElapsedTimer clock_;
    double tokens_ = 0;  // calls that may come at once now
    qint64 lastRefill_ = 0;
    QVariantMap announced_;  // the properties as clients last heard them
    bool announcementPending_ = false;
    // A number per entry that stays with it while entries before it go.
    std::vector<std::uint64_t> entryIds_;
    std::uint64_t nextEntryId_ = 1;
    std::string lengthPath_;  // the song whose length was reported last
    double lengthSeconds_ = 0;
};

}  // namespace melvo
