#include "app/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace melvo {

namespace {

// Marks a request from a later start, so that nothing else on the socket is
// taken for one.
constexpr quint32 kRequestMark = 0x4d4c5631;  // "MLV1"
constexpr char kReceived = '\x06';

void report(const QString& text) {
    std::fprintf(stderr, "Melvo: %s\n", text.toLocal8Bit().constData());
}

QString systemError(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// The socket's path: one per data folder, named after the folder's canonical
// path, in the user's own runtime folder when there is one.
QString socketPathFor(const QString& dataFolder) {
    QByteArray canonical = QFile::encodeName(dataFolder);
    if (char* resolved = ::realpath(canonical.constData(), nullptr)) {
        canonical = resolved;
        std::free(resolved);
    }
    const QByteArray hash = QCryptographicHash::hash(canonical, QCryptographicHash::Sha256);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
    return QDir(folder).filePath(
        QStringLiteral("melvo-%1.socket").arg(QString::fromLatin1(hash.toHex().left(16))));
}

// Opens the lock file without following a link and without waiting on a
// special file; -1 with errno set when that fails or it is no regular file.
int openLockFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
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
    const QDeadlineTimer deadline(patience);
    for (;;) {
        if (tryLock()) {
            listen();
            return Role::Primary;
        }
        if (handOver(files, deadline)) return Role::HandedOver;
        if (deadline.hasExpired()) break;
        // The holder is starting (not listening yet) or ending (lock not yet released).
        QThread::msleep(50);
    }
    const QByteArray pid = readHolder(lockFd_).pid;
    report(QStringLiteral(
               "このデータフォルダー（%1）では Melvo がすでに動いていますが（プロセス %2）、"
               "応答がありません。その Melvo を終了してから、もう一度起動してください。")
               .arg(dataFolder_, pid.isEmpty() ? QStringLiteral("?") : QString::fromLatin1(pid)));
    return Role::NoAnswer;
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
    const QString socketPath = socketPathFor(dataFolder_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket file left by a jukebox that ended without closing it; the lock
    // says no one else uses it.
    QLocalServer::removeServer(socketPath);
    if (!server_->listen(socketPath)) {
        report(QStringLiteral("ソケット %1 を開けませんでした。（%2）"
                              "後から起動した Melvo からは曲を受け取れません。")
                   .arg(socketPath, server_->errorString()));
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
        }
    });
    // Written once listening, so a later start that reads it can connect.
    writeHolder(lockFd_, socketPath);
}

bool SingleInstance::handOver(const QByteArrayList& files, const QDeadlineTimer& deadline) {
    const QString socketPath = readHolder(lockFd_).socketPath;
    if (socketPath.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return false;

    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kRequestMark << files;
    socket.write(request);
    while (socket.bytesToWrite() > 0 &&
           socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
    }
    while (socket.bytesAvailable() == 0 &&
           socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
    }
    char answer = 0;
    return socket.getChar(&answer) && answer == kReceived;
}

void SingleInstance::receive(QLocalSocket* socket) {
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_6_0);
    in.startTransaction();
    quint32 mark = 0;
    QByteArrayList files;
    in >> mark;
    if (in.status() == QDataStream::Ok && mark != kRequestMark) {
        socket->abort();
        return;
    }
    in >> files;
    if (!in.commitTransaction()) return;  // the rest is still on its way
    // The answer goes first: adding the files may open a message that waits
    // for the user, and the later start must not wait for that.
    socket->putChar(kReceived);
    socket->disconnectFromServer();
    emit openRequested(files);
}

}  // namespace melvo
