// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// How far the song list scrolls to bring the playing row into view.
#pragma once

namespace melvo {

// Rows to scroll (negative = up) so that row sel comes to rest in the middle
// of a view whose first visible row is top and which shows perPage whole rows.
// 0 when sel is already in view or is no row (below 0). A row below the view
// lands perPage - 1 - half rows under the top, a row above it half rows under
// it, where half = (perPage - 1) / 2 rounded down.
int rowsToScroll(int top, int perPage, int sel);

}  // namespace melvo
