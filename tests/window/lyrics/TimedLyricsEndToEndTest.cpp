// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Timed lyrics with the real engine: SDL's disk driver plays the song in real
// time, and the lyrics window and the editor follow the position it reports.
// The song carries its timed lyrics in its own ID3v2 tag: a line at 0.5 s, one
// at 1.5 s and 2.5 s, one at 2.0 s; it lasts 3 s.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <filesystem>
#include <functional>

#include "core/lyrics/TimedLyrics.h"
#include "core/playback/MediaEngine.h"
#include "support/ScopedEnv.h"
#include "support/WindowHarness.h"
#include "window/common/ReadOut.h"
#include "window/lyrics/LyricsEditor.h"
#include "window/lyrics/LyricsWindow.h"

namespace melvo {
namespace {

class TimedLyricsEndToEnd : public testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::copy_file(MELVO_FIXTURE_DIR "/timed_lyrics.mp3", harness.path("Song.mp3"));
        harness.writeFile("mvMP3.csv", harness.path("Song.mp3") + "\r\n");
        harness.setSetting("KASI_DISPLAY", "1");
        main = &harness.start(engine.get());
        main->jukebox.chooseEntry(0);
    }

    // Runs the event loop until done says so; false after timeoutMs.
    static bool runUntil(const std::function<bool()>& done, int timeoutMs = 8000) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > timeoutMs) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }

    test::WindowHarness harness;
    test::ScopedEnv driver{"SDL_AUDIODRIVER", "disk"};
    test::ScopedEnv output{"SDL_DISKAUDIOFILE", harness.path("output.raw")};
    std::unique_ptr<MediaEngine> engine = makeMediaEngine();
    MainWindow* main = nullptr;
};

TEST_F(TimedLyricsEndToEnd, HighlightFollowsThePlayingSongThroughRepeatSeekAndPause) {
    main->repeatBox->setChecked(true);
    main->jukebox.play();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    LyricsWindow& window = *main->lyricsPanel->lyricsWindow;
    ASSERT_EQ(window.lyrics(), "一行目\r\n二行目\r\n三行目\r\n");

    // What the window shows whenever the sung line changes.
    struct Change {
        double seconds;
        int line;
        QString highlighted;  // the text under the highlight; "-" for none
        int cursorLine;
    };
    std::vector<Change> changes;
    QObject::connect(
        &main->jukebox.transport(), &Transport::positionChanged, &window, [&](double seconds) {
            if (!changes.empty() && changes.back().line == window.sungLine()) return;
            const QList<QTextEdit::ExtraSelection> highlight = window.lyricsBox->extraSelections();
            const QTextCursor cursor = window.lyricsBox->textCursor();
            changes.push_back({seconds, window.sungLine(),
                               highlight.empty() ? "-" : highlight[0].cursor.selectedText(),
                               cursor.positionInBlock() == 0 ? cursor.blockNumber() : -2});
        });
    // Once through the song and into its repeat.
    ASSERT_TRUE(runUntil([&] { return changes.size() >= 7; })) << changes.size();
    const Change expected[] = {{0.0, -1, "-", 0},     {0.5, 0, "一行目", 0}, {1.5, 1, "二行目", 1},
                               {2.0, 2, "三行目", 2}, {2.5, 1, "二行目", 1}, {0.0, -1, "-", 1},
                               {0.5, 0, "一行目", 0}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(changes[i].line, expected[i].line) << "change " << i;
        EXPECT_EQ(changes[i].highlighted, expected[i].highlighted) << "change " << i;
        // The cursor stands at the start of the sung line (and stays when none is).
        EXPECT_EQ(changes[i].cursorLine, expected[i].cursorLine) << "change " << i;
        // Each line comes at its time, within a few of the core's 100 ms ticks.
        EXPECT_GE(changes[i].seconds, expected[i].seconds - 0.001) << "change " << i;
        EXPECT_LT(changes[i].seconds, expected[i].seconds + 0.4) << "change " << i;
    }

    main->jukebox.seek(2);
    ASSERT_TRUE(runUntil([&] { return window.sungLine() == 2; }, 2000));
    EXPECT_EQ(changes.back().highlighted, "三行目");
    EXPECT_EQ(changes.back().cursorLine, 2);

    main->jukebox.pause();
    runUntil([] { return false; }, 150);  // a tick reports the paused position
    const double pausedAt = main->jukebox.transport().position();
    const int pausedLine = window.sungLine();
    EXPECT_EQ(pausedLine, pausedAt < 2.5 ? 2 : 1) << pausedAt;
    runUntil([] { return false; }, 400);
    EXPECT_EQ(main->jukebox.transport().position(), pausedAt);
    EXPECT_EQ(window.sungLine(), pausedLine);
    main->jukebox.stop();
    EXPECT_EQ(window.sungLine(), -1);
    EXPECT_TRUE(window.lyricsBox->extraSelections().empty());
}

TEST_F(TimedLyricsEndToEnd, StampingWhileListeningTimesTheLyrics) {
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    LyricsEditor& editor = *main->lyricsPanel->lyricsEditor;
    editor.lyricsBox->setPlainText("一\n二\n三");
    editor.lyricsBox->moveCursor(QTextCursor::Start);
    main->jukebox.play();

    const double taps[] = {0.5, 1.2, 2.0};
    for (const double tap : taps) {
        ASSERT_TRUE(runUntil([&] { return main->jukebox.transport().position() >= tap; })) << tap;
        editor.stampButton->click();
    }
    EXPECT_TRUE(editor.positionLabel->text().startsWith("演奏位置 00:0"));
    main->jukebox.stop();

    const TimedLyrics stamped = parseTimedLyrics(editor.editedText());
    EXPECT_EQ(stamped.text, "一\r\n二\r\n三\r\n");
    ASSERT_EQ(stamped.times.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(stamped.times[i].line, static_cast<int>(i));
        // The tag holds hundredths, cut off; the engine tells the position it plays.
        EXPECT_GE(stamped.times[i].ms, taps[i] * 1000 - 10) << i;
        EXPECT_LT(stamped.times[i].ms, taps[i] * 1000 + 300) << i;
    }

    editor.registerButton->click();
    main->lyricsPanel->showLyricsOnRequest();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    EXPECT_EQ(main->lyricsPanel->lyricsWindow->lyrics(), "一\r\n二\r\n三\r\n");
    EXPECT_TRUE(harness.dialogs.messages.empty());
}

}  // namespace
}  // namespace melvo
