// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#pragma once

#include <QIcon>

namespace melvo {

// The jukebox's own icon: a pair of eighth notes on a round green badge.
QIcon appIcon();

}  // namespace melvo
