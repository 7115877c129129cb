// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/common/Numbers.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace melvo {

int roundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);  // the default rounding mode is to even
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(rounded);
}

double leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') sign = -1.0;
        ++i;
    }
    double value = 0.0;
    bool seenDigit = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10.0 + (text[i] - '0');
        seenDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            value += (text[i] - '0') * scale;
            scale /= 10.0;
            seenDigit = true;
        }
    }
    return seenDigit ? sign * value : 0.0;
}

int leadingWholeNumber(std::string_view text) { return roundHalfEven(leadingNumber(text)); }

std::string blankLedNumber(long long value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string formatTenths(double seconds) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", seconds);
    return buffer;
}

}  // namespace melvo
