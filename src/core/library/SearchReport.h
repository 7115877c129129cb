// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The one message told at the end of a song search: what could not be added
// and why, with counts, or that nothing was found.
#pragma once

#include <QString>

#include "core/library/SongSearch.h"

namespace melvo {

// The message for the outcome of a search that was not cancelled, of whose
// songs added were appended; empty when all went as asked.
QString searchReport(const SongSearch::Outcome& outcome, int added);

}  // namespace melvo
