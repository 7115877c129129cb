// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Byte strings for bounded fuzz tests: a seed with runs of random bytes, or
// of those text readers treat specially, put in or written over; a fixed start
// makes every run try the same strings.
#pragma once

#include <random>
#include <string>

namespace melvo::test {

class RandomBytes {
  public:
    std::string next(std::string bytes) {
        static constexpr char kOdd[] = "\r\n\x80\xBF\xC3\xE3\xEF\xF0\xFE\xFF%/#";  // and NUL
        for (size_t edits = below(6); edits > 0; --edits) {
            const char c = below(2) ? kOdd[below(sizeof kOdd)] : static_cast<char>(below(256));
            const size_t run = below(4) ? 1 + below(3) : below(6000);
            bytes.replace(below(bytes.size() + 1), below(8), std::string(run, c));
        }
        return bytes;
    }

  private:
    size_t below(size_t bound) {
        return std::uniform_int_distribution<size_t>(0, bound - 1)(random_);
    }
    std::mt19937 random_{27};
};

}  // namespace melvo::test
