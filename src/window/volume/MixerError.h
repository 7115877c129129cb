// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// What the user is told when the mixer cannot be opened.
#pragma once

#include <QString>

namespace melvo {

class Dialogs;

// The explanation of a mixer result code; empty for codes without one.
QString mixerErrorText(long code);

// Shows "[code] text" with the exclamation icon; nothing for code 0.
void showMixerError(Dialogs& dialogs, long code);

}  // namespace melvo
