// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The running jukebox's end of the hand-over socket. Only processes of the
// same user are heard; a request is read as it arrives, within a size bound
// and a time limit, and running out of descriptors only pauses taking
// connections.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

namespace melvo {

// The process at the other end of the connected local socket fd runs as this
// process's user.
bool peerIsThisUser(int fd);

class HandOverServer : public QObject {
    Q_OBJECT

  public:
    explicit HandOverServer(QObject* parent = nullptr);
    // Stops listening and removes the socket file.
    ~HandOverServer() override;

    // Listens at path, replacing a socket file left there; false with errno
    // set when it cannot.
    bool listen(const QString& path);

  signals:
    // A later start asks to come to the front and add files (absolute paths as
    // bytes; none when it was started without arguments).
    void requested(const QByteArrayList& files);

  private:
    void acceptPending();
    void serve(int fd);

    int fd_ = -1;
    QByteArray path_;
    QSocketNotifier notifier_{QSocketNotifier::Read};
    QTimer resume_;  // takes connections again after descriptors ran out
};

}  // namespace melvo
