// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "desktop/notify/SongNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include "core/common/FileNames.h"
#include "core/jukebox/Jukebox.h"

namespace melvo {

namespace {

// A notification the user did not close goes after this long.
constexpr int kShownMs = 6000;
// An answer later than this is no longer waited for.
constexpr int kAnswerMs = 2000;

}  // namespace

SongNotifier::SongNotifier(const Jukebox& jukebox, std::function<bool()> windowIsActive,
                           const QDBusConnection& bus, QObject* parent)
    : QObject(parent), jukebox_(jukebox), windowIsActive_(std::move(windowIsActive)), bus_(bus) {
    connect(&jukebox_, &Jukebox::songStarted, this, &SongNotifier::tellSongStart);
}

void SongNotifier::tellSongStart() {
    if (!jukebox_.tellsSongStarts() || windowIsActive_() || !bus_.isConnected()) return;
    const NowPlaying& playing = jukebox_.nowPlaying();
    const SongInfo& info = playing.info();
    const QString title = info.title.empty() ? songTitle(displayPath(playing.path()))
                                             : QString::fromStdString(info.title);
    QStringList body;
    for (const std::string* text : {&info.artist, &info.album}) {
        if (!text->empty()) body << QString::fromStdString(*text).toHtmlEscaped();
    }
    QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(MELVO_APP_ID)}};
    if (!playing.artFile().empty()) {
        hints.insert(QStringLiteral("image-path"), fileUrl(playing.artFile()));
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QStringLiteral("Melvo") << shownId_ << QStringLiteral(MELVO_APP_ID) << title
         << body.join(u'\n') << QStringList() << hints << kShownMs;
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(call, kAnswerMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<uint> reply = *w;
        if (reply.isValid()) shownId_ = reply.value();
        w->deleteLater();
    });
}

}  // namespace melvo
