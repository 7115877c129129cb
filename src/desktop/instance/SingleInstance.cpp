// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "desktop/instance/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "desktop/instance/SingleInstanceRequest.h"
#include "desktop/instance/SingleInstanceServer.h"

namespace melvo {

namespace {

void report(const QString& text) {
    std::fprintf(stderr, "Melvo: %s\n", text.toLocal8Bit().constData());
}

QString systemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// The folder is no link, belongs to this user and is closed to everyone else.
bool isPrivateFolder(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// The folder for hand-over sockets: the user's runtime folder when only the
// user can enter it, else "melvo-<uid>" in the temporary folder, made with
// mode 0700 and used only when it is the user's own folder, closed to others
// and no link. Empty, with the reason in *problem, when there is none.
QString handOverSocketFolder(QString* problem) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime)) return runtime;
    const QString folder =
        QDir(QDir::tempPath()).filePath(QStringLiteral("melvo-%1").arg(::geteuid()));
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
        *problem = QStringLiteral("フォルダー %1 を作れませんでした。（%2）")
                       .arg(folder, systemError(errno));
        return {};
    }
    if (!isPrivateFolder(folder)) {
        *problem = QStringLiteral(
                       "フォルダー %1 は、ほかのユーザーのものか、"
                       "ほかのユーザーも入れるか、リンクです。")
                       .arg(folder);
        return {};
    }
    return folder;
}

// The socket's name: one per data folder, named after the folder's canonical path.
QString socketNameFor(const QString& dataFolder) {
    QByteArray canonical = QFile::encodeName(dataFolder);
    if (char* resolved = ::realpath(canonical.constData(), nullptr)) {
        canonical = resolved;
        std::free(resolved);
    }
    const QByteArray hash = QCryptographicHash::hash(canonical, QCryptographicHash::Sha256);
    return QStringLiteral("melvo-%1.socket").arg(QString::fromLatin1(hash.toHex().left(16)));
}

// Opens the lock file without following a link and without waiting on a
// special file; -1 with errno set when that fails or it is no regular file.
// Where the folder can no longer be written, the file a running jukebox made
// is opened for reading, which is enough to find that jukebox.
int openLockFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    int fd = ::open(name.constData(), O_RDWR | O_CREAT | kFlags, 0644);
    if (fd < 0 && (errno == EROFS || errno == EACCES || errno == EPERM))
        fd = ::open(name.constData(), O_RDONLY | kFlags);
    if (fd < 0) return -1;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// What the lock file says: the holder's process id and socket path.
struct Holder {
    QByteArray pid;
    QString socketPath;
};

Holder readHolder(int fd) {
    char text[4096];
    const ssize_t size = ::pread(fd, text, sizeof text, 0);
    const QList<QByteArray> lines = QByteArray(text, size > 0 ? size : 0).split('\n');
    if (lines.size() < 3) return {};  // not yet written completely
    return {lines[0], QFile::decodeName(lines[1])};
}

void writeHolder(int fd, const QString& socketPath) {
    const QByteArray text =
        QByteArray::number(::getpid()) + '\n' + QFile::encodeName(socketPath) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.constData(), text.size(), 0) != text.size()) {
        report(
            QStringLiteral("ロックファイルに書き込めませんでした。（%1）").arg(systemError(errno)));
    }
}

}  // namespace

QByteArrayList fileArguments(int argc, const char* const* argv) {
    QByteArray folder;
    if (char* current = ::getcwd(nullptr, 0)) {
        folder = QByteArray(current) + '/';
        std::free(current);
    }
    QByteArrayList files;
    for (int i = 1; i < argc; ++i) {
        QByteArray file(argv[i]);
        if (file.isEmpty()) continue;
        if (!file.startsWith('/')) {
            if (file.startsWith("./")) file.remove(0, 2);
            file.prepend(folder);
        }
        files << file;
    }
    return files;
}

bool jukeboxRunsOn(const QString& dataFolder) {
    const QString lockPath = QDir(dataFolder).filePath(QLatin1String(kInstanceLockFileName));
    const int fd = ::open(QFile::encodeName(lockPath).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    // A jukebox holds the lock exclusively; a shared one taken here is given
    // back at once, and a jukebox starting meanwhile tries again.
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

SingleInstance::SingleInstance(const QString& dataFolder, QObject* parent)
    : QObject(parent), dataFolder_(dataFolder) {}

SingleInstance::~SingleInstance() {
    // The socket goes before the lock, so that it never removes the socket of
    // a jukebox that took the lock after this one.
    delete server_;
    if (lockFd_ >= 0) ::close(lockFd_);
}

SingleInstance::Role SingleInstance::start(const QByteArrayList& files,
                                           std::chrono::milliseconds patience) {
    const QString lockPath = QDir(dataFolder_).filePath(QLatin1String(kInstanceLockFileName));
    lockFd_ = openLockFile(lockPath);
    if (lockFd_ < 0) {
        report(QStringLiteral("ロックファイル %1 を開けませんでした。（%2）"
                              "同じデータフォルダーで動いている Melvo を確かめずに起動します。")
                   .arg(lockPath, systemError(errno)));
        return Role::Primary;
    }
    const std::optional<QByteArray> request = handOverRequest(files);
    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (tryLock()) {
            listen();
            return Role::Primary;
        }
        if (!request) {
            report(QStringLiteral("このデータフォルダー（%1）では Melvo がすでに動いていますが、"
                                  "ファイルが多すぎて渡せません（%2 個）。")
                       .arg(dataFolder_)
                       .arg(files.size()));
            return Role::Failed;
        }
        switch (handOver(*request, deadline)) {
            case HandOver::Taken:
                return Role::HandedOver;
            case HandOver::Refused:
                return Role::Failed;
            case HandOver::NoAnswer:
                break;
        }
        if (deadline.hasExpired()) break;
        // The holder is starting (not listening yet) or ending (lock not yet released).
        QThread::msleep(50);
    }
    const QByteArray pid = readHolder(lockFd_).pid;
    report(QStringLiteral(
               "このデータフォルダー（%1）では Melvo がすでに動いていますが（プロセス %2）、"
               "応答がありません。その Melvo を終了してから、もう一度起動してください。")
               .arg(dataFolder_, pid.isEmpty() ? QStringLiteral("?") : QString::fromLatin1(pid)));
    return Role::Failed;
}

// True when this process now holds the lock, also when locks do not work on
// the folder's file system: the jukebox then runs as it would without the lock.
bool SingleInstance::tryLock() {
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno == EWOULDBLOCK || errno == EINTR) return false;
    report(QStringLiteral("データフォルダー %1 をロックできませんでした。（%2）"
                          "同じデータフォルダーで動いている Melvo を確かめずに起動します。")
               .arg(dataFolder_, systemError(errno)));
    return true;
}

void SingleInstance::listen() {
    QString problem;
    const QString folder = handOverSocketFolder(&problem);
    const QString socketPath = QDir(folder).filePath(socketNameFor(dataFolder_));
    server_ = new HandOverServer(this);
    if (!folder.isEmpty() && !server_->listen(socketPath)) {
        problem = QStringLiteral("ソケット %1 を開けませんでした。（%2）")
                      .arg(socketPath, systemError(errno));
    }
    if (!problem.isEmpty()) {
        report(problem + QStringLiteral("後から起動した Melvo からは曲を受け取れません。"));
        // No socket named: a later start must not reach a socket left at the old name.
        writeHolder(lockFd_, QString());
        return;
    }
    connect(server_, &HandOverServer::requested, this, &SingleInstance::openRequested);
    // Written once listening, so a later start that reads it can connect.
    writeHolder(lockFd_, socketPath);
}

SingleInstance::HandOver SingleInstance::handOver(const QByteArray& request,
                                                  const QDeadlineTimer& deadline) {
    const QString socketPath = readHolder(lockFd_).socketPath;
    if (socketPath.isEmpty()) return HandOver::NoAnswer;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return HandOver::NoAnswer;
    // The files go to no one but a jukebox of this user.
    if (!peerIsThisUser(static_cast<int>(socket.socketDescriptor()))) {
        report(QStringLiteral("ソケット %1 で待っているのはほかのユーザーのプロセスです。"
                              "ファイルは渡しません。")
                   .arg(socketPath));
        return HandOver::Refused;
    }
    socket.write(request);
    while (socket.bytesToWrite() > 0 &&
           socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
    }
    while (socket.bytesAvailable() == 0 &&
           socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kHandOverReceived ? HandOver::Taken
                                                                  : HandOver::NoAnswer;
}

}  // namespace melvo
