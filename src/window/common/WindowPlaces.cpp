// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/common/WindowPlaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <charconv>

#include "core/settings/Settings.h"

namespace melvo {

namespace {

constexpr const char* kPlacesSection = "WINDOW";

// A place is usable when its middle and the middle of its top edge, where the
// title bar is, lie on a screen: a place on a screen since unplugged is not.
bool liesOnAScreen(const QRect& place) {
    return QGuiApplication::screenAt(place.center()) &&
           QGuiApplication::screenAt(QPoint(place.center().x(), place.top()));
}

}  // namespace

std::vector<int> readPlaceNumbers(const std::string& settingsPath, const char* key) {
    const std::string text = readSetting(key, kPlacesSection, settingsPath);
    std::vector<int> numbers;
    if (text == kNoSetting) return numbers;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (at < end) {
        int number = 0;
        const auto [next, error] = std::from_chars(at, end, number);
        if (error != std::errc() || (next != end && *next != ',')) return {};
        numbers.push_back(number);
        at = next == end ? end : next + 1;
    }
    return numbers;
}

void writePlaceNumbers(const std::string& settingsPath, const char* key,
                       const std::vector<int>& numbers) {
    std::string text;
    for (const int number : numbers) text += (text.empty() ? "" : ",") + std::to_string(number);
    writeSetting(text, key, kPlacesSection, settingsPath);
}

std::optional<QRect> readPlace(const std::string& settingsPath, const char* key) {
    const std::vector<int> n = readPlaceNumbers(settingsPath, key);
    if (n.size() != 4 || n[2] <= 0 || n[3] <= 0) return std::nullopt;
    const QRect place(n[0], n[1], n[2], n[3]);
    if (!liesOnAScreen(place)) return std::nullopt;
    return place;
}

void writePlace(const std::string& settingsPath, const char* key, const QRect& place) {
    writePlaceNumbers(settingsPath, key, {place.x(), place.y(), place.width(), place.height()});
}

QRect movedInside(QRect place, const QRect& area) {
    place.moveLeft(std::clamp(place.left(), area.left(),
                              std::max(area.left(), area.right() - place.width() + 1)));
    place.moveTop(std::clamp(place.top(), area.top(),
                             std::max(area.top(), area.bottom() - place.height() + 1)));
    return place;
}

}  // namespace melvo
