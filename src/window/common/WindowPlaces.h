// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Where the windows were and how wide the song list's columns were, kept in
// the settings file's section "WINDOW" between runs.
#pragma once

#include <QRect>
#include <optional>
#include <string>
#include <vector>

namespace melvo {

// The numbers stored under key, separated by commas; empty when there are none.
std::vector<int> readPlaceNumbers(const std::string& settingsPath, const char* key);
void writePlaceNumbers(const std::string& settingsPath, const char* key,
                       const std::vector<int>& numbers);

// A window's place and size stored under key, when it lies on a screen now.
std::optional<QRect> readPlace(const std::string& settingsPath, const char* key);
void writePlace(const std::string& settingsPath, const char* key, const QRect& place);

// The place moved, without changing its size, to lie wholly inside area (as
// far as it fits).
QRect movedInside(QRect place, const QRect& area);

}  // namespace melvo
