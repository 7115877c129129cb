// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Whether a test may wait for a window to become active. The offscreen
// platform activates every window it shows; on an X display only a window
// manager does, and a bare X server (Xvfb alone, some remote sessions) has
// none, so a test there would wait for an activation that never comes.
#pragma once

#include <QString>

namespace melvo::test {

// Why windows cannot be activated on this display, or an empty text when
// they can.
QString whyWindowsCannotBeActivated();

}  // namespace melvo::test
