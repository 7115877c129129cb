// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// One jukebox per data folder. The jukebox holds a lock on a file in its data
// folder for as long as it runs and listens on a local socket; a later start
// on the same folder hands its file arguments to it and ends.
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <chrono>

namespace melvo {

class HandOverServer;

// The lock file's name in the data folder. While a jukebox runs it holds the
// file with flock(2), which ends with its process, also after a crash; the
// file names the process and the socket it listens on.
inline constexpr char kInstanceLockFileName[] = ".melvo.lock";

// The command line's arguments after the program name as absolute paths, in
// the bytes they were given (a file name is bytes, whatever its encoding);
// relative ones are taken from the current folder.
QByteArrayList fileArguments(int argc, const char* const* argv);

// A jukebox runs on the data folder now: another process holds its lock,
// also where the folder can no longer be written.
bool jukeboxRunsOn(const QString& dataFolder);

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    enum class Role {
        Primary,     // this process runs the jukebox on the folder
        HandedOver,  // the running jukebox took the request: end with status 0
        Failed,      // a jukebox holds the folder but did not take the files: end with an error
    };

    explicit SingleInstance(const QString& dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the folder's lock and listens for later starts, or, when another
    // process holds the lock, asks it to come to the front and add files.
    // Gives up after patience without an answer, at once when the files are
    // too many to hand over or the socket's listener is another user's; the
    // reasons for Failed and for running without the lock go to stderr in
    // Japanese.
    Role start(const QByteArrayList& files,
               std::chrono::milliseconds patience = std::chrono::seconds(2));

  signals:
    // A later start on this data folder asks this jukebox to come to the front
    // and to add files (absolute paths as bytes; none when it was started
    // without arguments).
    void openRequested(const QByteArrayList& files);

  private:
    enum class HandOver { Taken, NoAnswer, Refused };

    bool tryLock();
    void listen();
    HandOver handOver(const QByteArray& request, const QDeadlineTimer& deadline);

    QString dataFolder_;
    int lockFd_ = -1;
    HandOverServer* server_ = nullptr;
};

}  // namespace melvo
