// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Tells the desktop of each song start with a notification: the title, the
// artist and album, and the song's picture. Each one replaces the one before.
// None is shown while the user looks at the main window, or when the user
// turned them off. Nothing waits on the notification service: without one,
// nothing is shown.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <functional>

namespace melvo {

class Jukebox;

class SongNotifier : public QObject {
    Q_OBJECT

  public:
    // windowIsActive: whether the main window has the user's attention now.
    SongNotifier(const Jukebox& jukebox, std::function<bool()> windowIsActive,
                 const QDBusConnection& bus, QObject* parent = nullptr);

  private:
    void tellSongStart();

    const Jukebox& jukebox_;
    std::function<bool()> windowIsActive_;
    QDBusConnection bus_;
    uint shownId_ = 0;  // the notification shown last, which the next replaces
};

}  // namespace melvo
