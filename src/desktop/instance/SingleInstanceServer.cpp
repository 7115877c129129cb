// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "desktop/instance/SingleInstanceServer.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QLocalSocket>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "desktop/instance/SingleInstanceRequest.h"

namespace melvo {

namespace {

// A later start sends its request at once; a peer still sending after this is
// dropped, so that no one holds a descriptor for long.
constexpr std::chrono::seconds kRequestTime(3);
constexpr std::chrono::milliseconds kResumeAfter(250);

// One connection of a later start: its request is read as it arrives and
// answered once whole; anything else, or too slow, is dropped.
class HandOverConnection : public QObject {
  public:
    HandOverConnection(int fd, HandOverServer* server) : QObject(server), server_(server) {
        socket_.setSocketDescriptor(fd);
        connect(&socket_, &QLocalSocket::readyRead, this, &HandOverConnection::read);
        connect(&socket_, &QLocalSocket::disconnected, this, &QObject::deleteLater);
        connect(&deadline_, &QTimer::timeout, this, &QObject::deleteLater);
        deadline_.setSingleShot(true);
        deadline_.start(kRequestTime);
    }

  private:
    void read() {
        if (reader_.state() != HandOverReader::State::Reading) return;
        switch (reader_.take(socket_.readAll())) {
            case HandOverReader::State::Reading:
                return;
            case HandOverReader::State::Refused:
                deleteLater();
                return;
            case HandOverReader::State::Complete: {
                // The answer goes first: adding the files may open a message
                // that waits for the user, and the later start must not wait.
                // This connection may be gone by the time that message closes,
                // so the files are the signal's own.
                const QByteArrayList files = reader_.files();
                socket_.putChar(kHandOverReceived);
                socket_.disconnectFromServer();
                emit server_->requested(files);
                return;
            }
        }
    }

    HandOverServer* server_;
    QLocalSocket socket_;
    QTimer deadline_;
    HandOverReader reader_;
};

}  // namespace

bool peerIsThisUser(int fd) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

HandOverServer::HandOverServer(QObject* parent) : QObject(parent) {
    connect(&notifier_, &QSocketNotifier::activated, this, &HandOverServer::acceptPending);
    resume_.setSingleShot(true);
    connect(&resume_, &QTimer::timeout, this, [this] {
        notifier_.setEnabled(true);
        acceptPending();
    });
}

HandOverServer::~HandOverServer() {
    if (fd_ < 0) return;
    notifier_.setEnabled(false);
    ::unlink(path_.constData());
    ::close(fd_);
}

bool HandOverServer::listen(const QString& path) {
    path_ = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path_.size()) >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, path_.constData(), path_.size());
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // A socket file left by a jukebox that ended without removing it; the
    // lock says no one else uses it.
    ::unlink(path_.constData());
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, SOMAXCONN) != 0) {
        const int error = errno;
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        errno = error;
        return false;
    }
    notifier_.setSocket(fd_);
    notifier_.setEnabled(true);
    return true;
}

// Takes every waiting connection. An error never ends listening: without
// descriptors (or memory) it waits a moment and tries again.
void HandOverServer::acceptPending() {
    for (;;) {
        const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            serve(fd);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return;
        } else if (errno != EINTR && errno != ECONNABORTED) {
            notifier_.setEnabled(false);
            resume_.start(kResumeAfter);
            return;
        }
    }
}

void HandOverServer::serve(int fd) {
    // Not a byte is read from another user's process.
    if (!peerIsThisUser(fd)) {
        ::close(fd);
        return;
    }
    new HandOverConnection(fd, this);
}

}  // namespace melvo
