// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Keeping the playing row of the song list in view.
#include "window/library/ListScrolling.h"

#include <algorithm>

namespace melvo {

int rowsToScroll(int top, int perPage, int sel) {
    if (sel < 0) return 0;
    const int bottom = top + perPage - 1;
    const int half = std::max(0, perPage - 1) / 2;
    if (sel < top) return sel - top - half;
    if (sel > bottom) return sel - bottom + half;
    return 0;
}

}  // namespace melvo
