// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/tags/TagText.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/common/TextFile.h"

namespace melvo {

namespace {

// What a character tells of the character set its bytes were read in.
enum class Kind {
    Edge,         // before the first character, after the last
    AsciiLetter,  // A-Z, a-z
    Ascii,        // the rest of ASCII that text holds
    Control,      // an ASCII control other than a tab or a line end
    Question,     // "?", which failed conversions leave behind
    LatinLetter,  // accented letters of Latin-1 and Latin Extended
    LatinSign,    // signs of Latin-1 and Windows-1252 that titles use
    StraySign,    // signs that stand almost only in misread bytes
    Kana,         // hiragana and katakana
    Kanji,
    WideSign,    // Japanese punctuation, full-width letters and digits
    HalfKana,    // half-width katakana
    Impossible,  // C1 controls, private-use and replacement characters
    Other,
};

// Signs that titles hardly use: mostly lead bytes of CP932 katakana and
// kanji read as Windows-1252 (0x83, 0x86 to 0x89, 0x8B, 0x95, 0x9B, 0x98),
// and Latin-1 signs that misread bytes leave.
constexpr char32_t kStraySigns[] = {0x0192, 0x2020, 0x2021, 0x02C6, 0x2030, 0x2039, 0x2022, 0x203A,
                                    0x02DC, 0xA4,   0xA6,   0xA8,   0xAC,   0xAF,   0xB8};

Kind kindOf(char32_t c) {
    if (c < 0x80) {
        if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') return Kind::AsciiLetter;
        if (c == '?') return Kind::Question;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return Kind::Control;
        return Kind::Ascii;
    }
    if (c < 0xA0 || c == 0xFFFD || (c >= 0xE000 && c <= 0xF8FF)) return Kind::Impossible;
    if (std::find(std::begin(kStraySigns), std::end(kStraySigns), c) != std::end(kStraySigns))
        return Kind::StraySign;
    if (c < 0xC0 || c == 0xD7 || c == 0xF7) return Kind::LatinSign;
    if (c <= 0x24F) return Kind::LatinLetter;
    if ((c >= 0x2010 && c <= 0x201E) || c == 0x2026 || c == 0x20AC || c == 0x2122)
        return Kind::LatinSign;
    if (c >= 0x2500 && c <= 0x257F) return Kind::StraySign;  // box drawing
    if (c >= 0x3041 && c <= 0x30FF) return Kind::Kana;
    if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
        (c >= 0xF900 && c <= 0xFAFF))
        return Kind::Kanji;
    if ((c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF5E) ||
        (c >= 0xFFE0 && c <= 0xFFEE))
        return Kind::WideSign;
    if (c >= 0xFF61 && c <= 0xFF9F) return Kind::HalfKana;
    return Kind::Other;
}

bool isLatinHigh(Kind kind) {
    return kind == Kind::LatinLetter || kind == Kind::LatinSign || kind == Kind::StraySign;
}

bool isWide(Kind kind) {
    return kind == Kind::Kana || kind == Kind::Kanji || kind == Kind::WideSign;
}

// The characters of valid UTF-8.
std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(c);
        i += extra + 1;
    }
    return out;
}

// One character's weight, seen beside its neighbours.
int weigh(Kind before, Kind kind, Kind after) {
    const bool nextToLetter = before == Kind::AsciiLetter || after == Kind::AsciiLetter;
    switch (kind) {
        case Kind::Control:
            return -3;
        case Kind::Question:
            return before == Kind::Question || after == Kind::Question ? -1 : 0;
        case Kind::AsciiLetter:
            return isWide(before) && isWide(after) ? -2 : 0;
        case Kind::LatinLetter:
            return nextToLetter ? 2 : isLatinHigh(before) || isLatinHigh(after) ? -1 : 0;
        case Kind::LatinSign:
            return isLatinHigh(before) || isLatinHigh(after) ? -1 : 0;
        case Kind::StraySign:
            return -1;
        case Kind::Kana:
            return 3;
        case Kind::Kanji:
            return before == Kind::AsciiLetter && after == Kind::AsciiLetter ? -1 : 2;
        case Kind::WideSign:
            return 1;
        case Kind::HalfKana:
            return nextToLetter ? -3 : before == Kind::HalfKana || after == Kind::HalfKana ? 1 : 0;
        default:
            return 0;
    }
}

// The Windows-1252 characters of the bytes 0x80 to 0x9F; the five unassigned
// ones are the C1 controls of Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
};

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        const char32_t c = b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// What the bytes of CP932 or EUC-JP characters tell beyond the characters:
// kanji of the second JIS level (and of the extensions) are rare in names,
// and bytes of Latin-1 words that happen to be CP932 or EUC-JP fall mostly
// among them, so each weighs 2 less than a kanji of the first level. And an
// accented letter inside a Latin word takes the letter after it as the
// second byte of a CP932 character: such a character right after an ASCII
// letter, ending in an ASCII letter, weighs 3 less.
int bytePenalty(std::string_view bytes, TextCharset charset) {
    const auto isLetter = [](unsigned char b) { return (b | 0x20) >= 'a' && (b | 0x20) <= 'z'; };
    int penalty = 0;
    bool afterLetter = false;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const auto trail = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        size_t length = 1;
        if (charset == TextCharset::Cp932) {
            if ((lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0) {
                length = 2;
                if ((lead == 0x98 && trail >= 0x9F) || (lead >= 0x99 && lead <= 0x9F) ||
                    lead >= 0xE0)
                    penalty += 2;
                if (afterLetter && isLetter(trail)) penalty += 3;
            }
        } else {
            if (lead == 0x8F || (lead >= 0xD0 && lead <= 0xFE)) penalty += 2;
            length = lead == 0x8F ? 3 : lead >= 0x8E ? 2 : 1;
        }
        afterLetter = length == 1 && isLetter(lead);
        i += length;
    }
    return penalty;
}

// The plausibility of all the texts read in the charset; nothing when one of
// them is not of it or cannot be real text.
std::optional<int> plausibilityAs(const std::vector<std::string_view>& texts, TextCharset charset) {
    int total = 0;
    for (const std::string_view bytes : texts) {
        std::optional<std::string> text;
        if (charset == TextCharset::Windows1252)
            text = fromWindows1252(bytes);
        else
            text = fromEncoding(bytes, charset == TextCharset::Cp932 ? "CP932" : "EUC-JP", true);
        const std::optional<int> score = text ? textPlausibility(*text) : std::nullopt;
        if (!score) return std::nullopt;
        total += *score;
        if (charset != TextCharset::Windows1252) total -= bytePenalty(bytes, charset);
    }
    return total;
}

}  // namespace

std::optional<int> textPlausibility(std::string_view utf8) {
    const std::u32string text = codePoints(utf8);
    int score = 0;
    Kind before = Kind::Edge;
    Kind kind = text.empty() ? Kind::Edge : kindOf(text[0]);
    for (size_t i = 0; i < text.size(); ++i) {
        if (kind == Kind::Impossible) return std::nullopt;
        const Kind after = i + 1 < text.size() ? kindOf(text[i + 1]) : Kind::Edge;
        score += weigh(before, kind, after);
        before = std::exchange(kind, after);
    }
    return score;
}

TextCharset guessCharset(const std::vector<std::string_view>& texts) {
    const auto ascii = [](std::string_view text) {
        return std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (std::all_of(texts.begin(), texts.end(), isValidUtf8) &&
        !std::all_of(texts.begin(), texts.end(), ascii))
        return TextCharset::Utf8;

    TextCharset best = TextCharset::Windows1252;
    std::optional<int> bestScore = plausibilityAs(texts, best);
    for (const TextCharset japanese : {TextCharset::Cp932, TextCharset::EucJp}) {
        const std::optional<int> score = plausibilityAs(texts, japanese);
        if (score && *score > 0 && (!bestScore || *score > *bestScore)) {
            best = japanese;
            bestScore = score;
        }
    }
    return best;
}

std::string decodeText(std::string_view bytes, TextCharset charset) {
    switch (charset) {
        case TextCharset::Utf8:
            return isValidUtf8(bytes) ? std::string(bytes) : fromWindows1252(bytes);
        case TextCharset::Cp932:
            return *fromEncoding(bytes, "CP932", false);
        case TextCharset::EucJp:
            return *fromEncoding(bytes, "EUC-JP", false);
        case TextCharset::Windows1252:
            break;
    }
    return fromWindows1252(bytes);
}

}  // namespace melvo
