// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The texts of a song's tags whose character set the tag does not name: those
// an ID3v2 frame marks ISO-8859-1 and those of an ID3v1 tag. Taggers wrote
// there whatever their system used: Windows-1252 in Europe and America, CP932
// (Shift-JIS) on Japanese Windows, EUC-JP on old Unix systems, UTF-8 in newer
// ones. One tag comes from one tagger, so all of its texts are read in one
// character set, chosen by how plausibly all of them read in each.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace melvo {

enum class TextCharset { Utf8, Cp932, EucJp, Windows1252 };

// The one character set of one tag's texts: UTF-8 when all of them are valid
// UTF-8 and not all plain ASCII; else CP932 or EUC-JP where that reads them
// as plausible Japanese, more plausible than Windows-1252 reads them; else
// Windows-1252.
TextCharset guessCharset(const std::vector<std::string_view>& texts);

// The bytes read in that character set, as UTF-8: a replacement character for
// each byte that is not of it (Windows-1252's five unassigned bytes stand for
// the control characters Latin-1 gives them).
std::string decodeText(std::string_view bytes, TextCharset charset);

// How plausibly the UTF-8 text reads as someone's words: above 0 for Japanese
// or for accented Latin letters inside words, 0 for plain ASCII, below 0 for
// the signs of bytes read in the wrong character set (runs of stray signs,
// half-width kana inside Latin words, a kanji between two Latin letters).
// Nothing when it cannot be real text: it holds a C1 control character, a
// private-use character or a replacement character.
std::optional<int> textPlausibility(std::string_view utf8);

}  // namespace melvo
