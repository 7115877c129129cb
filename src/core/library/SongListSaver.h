// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Writes the song list file a few seconds after each change, on a thread of
// its own, so a crash or a kill loses no song and the window never waits for
// the disk. A write that fails is tried again at the next change, and the
// exit's own write tells the user. The backup keeps the list as it was at start-up: only the first
// write of a run that changes the file makes it.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <thread>

#include "core/library/SongListFile.h"

class QTimer;

namespace melvo {

class SongListSaver : public QObject {
    Q_OBJECT

  public:
    // path: the song list file; delayMs: how long after a change it is
    // written; text: the file's whole text as the list is now.
    SongListSaver(std::string path, int delayMs, std::function<std::string()> text,
                  QObject* parent = nullptr);
    ~SongListSaver() override;

    // The list changed: it is written once the delay has passed.
    void schedule();
    // Writes the list now, after any write under way, and answers how that went.
    SongListWrite saveNow();

  private:
    void startWrite();
    // Waits for the write under way, if any, and takes in how it went.
    void waitForWrite();

    std::string path_;
    QTimer* delay_;
    std::function<std::string()> text_;
    bool pending_ = false;  // a change waits to be written
    bool backupDue_ = true;
    std::thread worker_;
    // Set by the worker; read once it has been joined.
    SongListWrite written_;
    bool writtenWithBackup_ = false;
};

}  // namespace melvo
