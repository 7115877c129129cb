// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Number rules shared by every subsystem: how text is read as a number, how
// fractions become whole numbers, and how numbers are written into files and
// read-outs.
#pragma once

#include <string>
#include <string_view>

namespace melvo {

// Rounds to the nearest whole number, halves to the even neighbour, and keeps
// the result inside the range of int.
int roundHalfEven(double value);

// Skips leading blanks and reads the leading number (sign, digits, one decimal
// point); 0 when the text does not start with a number.
double leadingNumber(std::string_view text);

// The leading number of a text as a whole number (halves to even).
int leadingWholeNumber(std::string_view text);

// A whole number as the program writes it into its files: one blank, or the
// minus sign, then the digits (" 6553", "-12").
std::string blankLedNumber(long long value);

// Seconds in the read-out format "0.0": at least one digit before the point,
// exactly one after it.
std::string formatTenths(double seconds);

}  // namespace melvo
