// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The window's designed layout is measured in twips (1/1440 inch).
#pragma once

class QWidget;

namespace melvo {

// Pixels for a length in twips on this screen.
int twipsToPixels(int twips);
// Places a control by its left, top, width and height in twips.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

}  // namespace melvo
