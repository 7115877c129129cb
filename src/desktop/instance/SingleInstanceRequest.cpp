// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "desktop/instance/SingleInstanceRequest.h"

#include <QDataStream>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>

namespace melvo {

namespace {

// Marks a request from a later start, so that nothing else on the socket is
// taken for one.
constexpr quint32 kRequestMark = 0x4d4c5631;  // "MLV1"
constexpr quint64 kNumberBytes = sizeof(quint32);

}  // namespace

std::optional<QByteArray> handOverRequest(const QByteArrayList& files) {
    if (files.size() > kMaxHandOverFiles) return std::nullopt;
    QByteArray request;
    QDataStream out(&request, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << kRequestMark << files;
    if (request.size() > kMaxHandOverBytes) return std::nullopt;
    return request;
}

HandOverReader::State HandOverReader::take(QByteArrayView bytes) {
    while (state_ == State::Reading && !bytes.isEmpty()) {
        quint32 number = 0;
        if (field_ == Field::Bytes) {
            takeFileBytes(&bytes);
        } else if (takeNumber(&bytes, &number)) {
            readField(number);
        }
    }
    return state_;
}

// Moves the bytes of a number from the front of bytes, true once it is whole.
bool HandOverReader::takeNumber(QByteArrayView* bytes, quint32* number) {
    const qsizetype wanted = std::min(kNumberBytes - number_.size(), quint64(bytes->size()));
    number_.append(bytes->first(wanted));
    *bytes = bytes->sliced(wanted);
    if (quint64(number_.size()) < kNumberBytes) return false;
    *number = qFromBigEndian<quint32>(number_.constData());
    number_.clear();
    return true;
}

void HandOverReader::takeFileBytes(QByteArrayView* bytes) {
    const qsizetype wanted = std::min<qsizetype>(bytesLeft_, bytes->size());
    files_.last().append(bytes->first(wanted));
    *bytes = bytes->sliced(wanted);
    bytesLeft_ -= wanted;
    if (bytesLeft_ == 0) endFile();
}

void HandOverReader::endFile() {
    field_ = Field::Length;
    if (--filesLeft_ == 0) state_ = State::Complete;
}

void HandOverReader::readField(quint32 number) {
    switch (field_) {
        case Field::Mark:
            declare(kNumberBytes);
            if (number != kRequestMark) state_ = State::Refused;
            field_ = Field::Count;
            break;
        case Field::Count:
            // Each file takes at least the number that gives its length.
            declare(kNumberBytes + kNumberBytes * number);
            if (number > kMaxHandOverFiles) state_ = State::Refused;
            filesLeft_ = number;
            field_ = Field::Length;
            if (number == 0 && state_ == State::Reading) state_ = State::Complete;
            break;
        case Field::Length:
            // The length of each file was declared with the count; a null
            // array's length (0xFFFFFFFF) is far over the bound.
            declare(number);
            if (state_ != State::Reading) break;
            if (number == 0) {
                endFile();  // an empty name names no file
                break;
            }
            files_.append(QByteArray());
            bytesLeft_ = number;
            field_ = Field::Bytes;
            break;
        case Field::Bytes:
            break;
    }
}

void HandOverReader::declare(quint64 size) {
    declared_ += size;
    if (declared_ > quint64(kMaxHandOverBytes)) state_ = State::Refused;
}

}  // namespace melvo
