// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The character set chosen for one tag's undeclared texts, on real byte
// strings of Japanese and European taggers, and the texts as decoded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tags/TagText.h"

namespace melvo::test {
namespace {

// The texts of one tag and their decodings are separated by "|".
std::vector<std::string> split(std::string_view texts) {
    std::vector<std::string> parts;
    for (size_t end; (end = texts.find('|')) != std::string_view::npos;
         texts.remove_prefix(end + 1))
        parts.emplace_back(texts.substr(0, end));
    parts.emplace_back(texts);
    return parts;
}

TEST(TagText, OneCharsetPerTagDecodesEveryText) {
    using enum TextCharset;
    const struct {
        const char* name;
        const char* bytes;
        TextCharset charset;
        const char* text;
    } cases[] = {
        {"CP932 kanji and katakana", "\x90\xc2\x8b\xf3\x83o\x83\x93\x83h", Cp932, "青空バンド"},
        {"CP932 kanji, each byte Windows-1252 too", "\x93\x8c\x8b\x9e\x8e\x96\x95\xcf", Cp932,
         "東京事変"},
        {"CP932, one kanji", "\x88\xa4", Cp932, "愛"},
        {"CP932 half-width kana", "\xb1\xb2\xbc\xc3\xd9", Cp932, "ｱｲｼﾃﾙ"},
        {"CP932 full-width letters", "\x82s\x82g\202d\x81@\202a\202d\x82r\x82s", Cp932,
         "ＴＨＥ　ＢＥＳＴ"},
        {"CP932 after ASCII, beside ASCII", "Mr.Children\x82\xcc\x89\xcc|Tomorrow", Cp932,
         "Mr.Childrenの歌|Tomorrow"},
        {"EUC-JP", "\xc0\xc4\xb6\xf5\xa5\xd0\xa5\xf3\xa5\xc9|\xba\xa3\xc6\xfc\xa4\xce", EucJp,
         "青空バンド|今日の"},
        {"Latin-1, to CP932 a second-level kanji", "M\xe9nage", Windows1252, "Ménage"},
        {"Latin-1, to CP932 half-width kana", "\334bermut", Windows1252, "Übermut"},
        {"Latin-1, to CP932 a user-defined code", "Se\xf1orita", Windows1252, "Señorita"},
        {"Latin-1 words of one tag", "M\344dchen|F\xeate|\xc0 la carte", Windows1252,
         "Mädchen|Fête|À la carte"},
        {"Windows-1252 quotes", "Don\x92t Stop", Windows1252, "Don’t Stop"},
        {"UTF-8 in frames marked ISO-8859-1", "\xe9\x9d\x92\xe7\xa9\xba|Caf\xc3\xa9", Utf8,
         "青空|Café"},
        {"UTF-8 beside Latin-1: not UTF-8", "Caf\xc3\xa9|Se\xf1or", Windows1252, "CafÃ©|Señor"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> bytes = split(c.bytes);
        const std::vector<std::string> text = split(c.text);
        EXPECT_EQ(guessCharset({bytes.begin(), bytes.end()}), c.charset);
        for (size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(decodeText(bytes[i], c.charset), text[i]);
    }
}

}  // namespace
}  // namespace melvo::test
