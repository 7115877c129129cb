// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/SongListSaver.h"

#include <QTimer>

namespace melvo {

SongListSaver::SongListSaver(std::string path, int delayMs, std::function<std::string()> text,
                             QObject* parent)
    : QObject(parent), path_(std::move(path)), delay_(new QTimer(this)), text_(std::move(text)) {
    delay_->setObjectName(QStringLiteral("songListSaveTimer"));
    delay_->setSingleShot(true);
    delay_->setInterval(delayMs);
    connect(delay_, &QTimer::timeout, this, &SongListSaver::startWrite);
}

SongListSaver::~SongListSaver() { waitForWrite(); }

void SongListSaver::schedule() {
    pending_ = true;
    if (!worker_.joinable()) delay_->start();
}

// One write at a time: a change made while one runs is written after it.
void SongListSaver::startWrite() {
    waitForWrite();
    if (!pending_) return;
    pending_ = false;
    writtenWithBackup_ = backupDue_;
    worker_ = std::thread([this, text = text_()] {
        written_ = writeSongListText(path_, text, writtenWithBackup_);
        QMetaObject::invokeMethod(
            this,
            [this] {
                waitForWrite();
                if (pending_ && !delay_->isActive()) delay_->start();
            },
            Qt::QueuedConnection);
    });
}

void SongListSaver::waitForWrite() {
    if (!worker_.joinable()) return;
    worker_.join();
    if (written_.changed && writtenWithBackup_) backupDue_ = false;
}

SongListWrite SongListSaver::saveNow() {
    delay_->stop();
    pending_ = false;
    waitForWrite();
    const SongListWrite result = writeSongListText(path_, text_(), backupDue_);
    if (result.changed) backupDue_ = false;
    return result;
}

}  // namespace melvo
