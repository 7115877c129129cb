// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// What a later start sends the running jukebox over the hand-over socket: a
// mark, then its files as QDataStream writes a QByteArrayList (a count, then
// each file's length and bytes; numbers big-endian, 32 bits).
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

namespace melvo {

// The running jukebox's answer once it has taken a request.
inline constexpr char kHandOverReceived = '\x06';

// The largest request a jukebox takes: the paths of some thousands of songs.
inline constexpr qsizetype kMaxHandOverBytes = qsizetype{4} << 20;
inline constexpr quint32 kMaxHandOverFiles = 65536;

// The request for files; nothing when they are more than a jukebox takes.
std::optional<QByteArray> handOverRequest(const QByteArrayList& files);

// Reads one request as its bytes arrive, looking at each byte once, and
// refuses it as soon as it is no request or declares more than
// kMaxHandOverBytes.
class HandOverReader {
  public:
    enum class State { Reading, Complete, Refused };

    State take(QByteArrayView bytes);
    State state() const { return state_; }
    // The files of a complete request.
    const QByteArrayList& files() const { return files_; }

  private:
    enum class Field { Mark, Count, Length, Bytes };

    bool takeNumber(QByteArrayView* bytes, quint32* number);
    void takeFileBytes(QByteArrayView* bytes);
    void endFile();
    void readField(quint32 number);
    void declare(quint64 size);

    State state_ = State::Reading;
    Field field_ = Field::Mark;
    QByteArray number_;     // the bytes of a number read so far
    quint64 declared_ = 0;  // the request's size as far as it is known
    quint32 filesLeft_ = 0;
    quint32 bytesLeft_ = 0;  // of the file being read
    QByteArrayList files_;
};

}  // namespace melvo
