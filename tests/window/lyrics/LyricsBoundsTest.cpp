// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Lyrics files that could stall or overwhelm the window: a named pipe where
// the lyrics belong, lyrics far longer than any song's, and lyrics in the
// encodings and with the characters that other editors write.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "core/lyrics/LyricsFile.h"
#include "support/WindowHarness.h"
#include "window/lyrics/LyricsEditor.h"
#include "window/lyrics/LyricsWindow.h"

namespace melvo {
namespace {

class LyricsBounds : public testing::Test {
  protected:
    void SetUp() override {
        harness.writeFile("Song.mp3", "ID3");
        harness.writeFile("mvMP3.csv", harness.path("Song.mp3") + "\r\n");
        main = &harness.start();
        main->lyricsPanel->onShowLyricsMenuItemTriggered();
        main->jukebox.chooseEntry(0);
    }

    test::WindowHarness harness;
    MainWindow* main = nullptr;
};

TEST_F(LyricsBounds, NamedPipeIsASongWithoutLyrics) {
    ASSERT_EQ(::mkfifo(harness.path("Song.txt").c_str(), 0600), 0);
    main->jukebox.play();  // hangs for good when the pipe is opened for reading
    EXPECT_TRUE(harness.media.isOpen(harness.path("Song.mp3")));
    EXPECT_TRUE(!main->lyricsPanel->lyricsWindow || !main->lyricsPanel->lyricsWindow->isVisible());
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    EXPECT_TRUE(main->lyricsPanel->lyricsEditor && main->lyricsPanel->lyricsEditor->isVisible())
        << "an empty editor";
}

TEST_F(LyricsBounds, OverLongLyricsShowTheirBeginningAndAreNotEdited) {
    std::string lyrics;
    while (lyrics.size() <= kMaxLyricsBytes) lyrics += "らららら\r\n";
    harness.writeFile("Song.txt", lyrics);
    main->jukebox.play();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    const QString shown = main->lyricsPanel->lyricsWindow->lyricsBox->toPlainText();
    EXPECT_TRUE(shown.startsWith("らららら\n"));
    EXPECT_TRUE(shown.trimmed().endsWith(QString::fromUtf8(kLyricsLeftOutLine)));

    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_FALSE(harness.dialogs.messages.empty());
    EXPECT_TRUE(
        harness.dialogs.messages.back().startsWith(QString::fromUtf8(kLyricsTooLongToEdit)));
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 0);
    EXPECT_EQ(harness.readFile("Song.txt"), lyrics) << "never cut short by a save";
}

// The text as UTF-16 with a byte-order mark.
std::string utf16(const char* text, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : (u'\uFEFF' + QString::fromUtf8(text)).toStdU16String()) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST_F(LyricsBounds, EveryLineOfAnyEncodingIsOneLineOfTheBoxShownAtOnce) {
    const char* timed = "[00:00.00]一\r\n[00:01.00]二\r\n";
    std::string longLines;  // past the bound; "《" in UTF-16 holds the byte of LF
    while (longLines.size() < kMaxLyricsBytes) longLines += "《" + std::string(400, 'a') + "\r\n";
    const struct {
        const char* scenario;
        std::string bytes;
        const char* sungAtOneSecond;  // nullptr: none
    } cases[] = {
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + std::string(timed), "二"},
        {"UTF-16 LE", utf16(timed, false), "二"},
        {"UTF-16 BE", utf16(timed, true), "二"},
        {"a paragraph separator inside a line", "[00:00.00]一\u2029続き\r\n[00:01.00]二\r\n", "二"},
        {"1 MB of line feeds", std::string(kMaxLyricsBytes, '\n'), nullptr},
        {"1 MB of CR LF",
         std::string(kMaxLyricsBytes, '\r')
             .replace(1, std::string::npos, kMaxLyricsBytes - 1, '\n'),
         nullptr},
        {"UTF-16 past the bound", utf16(longLines.c_str(), false), nullptr},
        {"one line of 1 MB", std::string(kMaxLyricsBytes, 'a'), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        harness.writeFile("Song.lrc", c.bytes);
        QElapsedTimer clock;
        clock.start();
        main->jukebox.play();
        QCoreApplication::processEvents();  // the window is drawn
        EXPECT_LT(clock.elapsed(), 1000);
        ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
        const LyricsWindow& window = *main->lyricsPanel->lyricsWindow;
        harness.media.devices[harness.path("Song.mp3")].positionMs = 1000;
        test::pollPosition(main->jukebox);
        const QTextDocument& shown = *window.lyricsBox->document();
        EXPECT_EQ(shown.findBlockByNumber(window.sungLine()).text(),
                  c.sungAtOneSecond ? QString::fromUtf8(c.sungAtOneSecond) : "");
        EXPECT_LE(shown.blockCount(),
                  static_cast<int>(kMaxLyricsLines) + 3);  // the note, the last line end
        EXPECT_FALSE(shown.toPlainText().contains(QChar::ReplacementCharacter));
        main->jukebox.stop();
    }
}

}  // namespace
}  // namespace melvo
