// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Reaches the player core's timers and its position tick, which it keeps to
// itself, so tests can look at them and tick by hand.
#pragma once

#include <QMetaObject>
#include <QTimer>

#include "core/jukebox/Jukebox.h"

namespace melvo::test {

inline QTimer* timer(const Jukebox& jukebox, const char* name) {
    return jukebox.findChild<QTimer*>(QLatin1String(name));
}

// One 100 ms tick of the position.
inline void pollPosition(const Jukebox& jukebox) {
    QMetaObject::invokeMethod(jukebox.findChild<Transport*>(), &Transport::pollPosition);
}

}  // namespace melvo::test
