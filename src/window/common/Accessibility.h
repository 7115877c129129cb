// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Names that screen readers announce for the controls of a window.
#pragma once

class QWidget;

namespace melvo {

// Gives every control of window that has no accessible name one: its caption
// (button, check box, frame or label text), else its tool tip, else the
// caption of the label just above it. Names set beforehand are kept. Call it
// once a window has all its controls.
void nameForScreenReaders(QWidget* window);

}  // namespace melvo
