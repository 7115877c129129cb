// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTest>
#include <QTextBlock>
#include <filesystem>

#include "support/WindowHarness.h"
#include "window/common/ReadOut.h"
#include "window/lyrics/LyricsEditor.h"
#include "window/lyrics/LyricsWindow.h"

namespace melvo {
namespace {

using test::pollPosition;

const QColor kPaleYellow(255, 255, 192);

class LyricsWindows : public testing::Test {
  protected:
    void SetUp() override {
        main = &harness.start();
        // The windows open beside the main window, wherever the user put it.
        main->move(120, 40);
        main->show();
    }

    // Makes a song of the data folder the only and the chosen one, as a click
    // in the song list does; an empty name leaves no song chosen.
    void select(const std::string& name) {
        while (main->jukebox.songList().entries().count() > 0) main->jukebox.deleteEntry(0);
        if (name.empty()) return;
        main->jukebox.appendEntries({harness.path(name)});
        main->jukebox.chooseEntry(0);
    }
    QString at(const std::string& name) const { return QString::fromStdString(harness.path(name)); }
    std::vector<QString>& messages() { return harness.dialogs.messages; }
    // The core's next position tick with the playing song at that millisecond.
    void tickAt(std::int64_t ms) {
        harness.media.devices[main->jukebox.transport().currentPath()].positionMs = ms;
        pollPosition(main->jukebox);
    }
    // Lets windows closed by close() go away, as the event loop would.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::WindowHarness harness;
    MainWindow* main = nullptr;
};

TEST_F(LyricsWindows, SongStartShowsTitlePathAndLyricsBesideTheMainWindow) {
    harness.writeFile("Artist-Title.txt", "la\r\nlu");
    main->lyricsPanel->onShowLyricsMenuItemTriggered();
    select("Artist-Title.mp3");
    main->lyricsPanel->showLyricsForCurrentSong();

    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    LyricsWindow& window = *main->lyricsPanel->lyricsWindow;
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Title.mp3");
    EXPECT_EQ(window.songCaptionLabel->text(), "曲名 ");
    EXPECT_EQ(window.songPathLabel->text(), at("Artist-Title.mp3"));
    EXPECT_EQ(window.lyrics(), "la\r\nlu\r\n");
    EXPECT_EQ(window.lyricsBox->toPlainText(), "la\nlu\n");
    EXPECT_EQ(window.lyricsBox->palette().color(QPalette::Base), kPaleYellow);
    EXPECT_EQ(window.closeButton->text(), "終了");
    EXPECT_TRUE(main->screen()->availableGeometry().contains(window.frameGeometry()));
    EXPECT_TRUE(messages().empty());

    // The next song's lyrics replace these in the same window.
    harness.writeFile("Other.txt", "");
    select("Other.MP3");
    main->lyricsPanel->showLyricsForCurrentSong();
    EXPECT_EQ(main->lyricsPanel->lyricsWindow, &window);
    EXPECT_EQ(window.windowTitle(), "Other.MP3");
    EXPECT_EQ(window.lyrics(), "");

    window.closeButton->click();
    EXPECT_FALSE(main->lyricsPanel->lyricsWindow);
}

// Beside the main window where the screen has room on the right, else on the
// left, else wholly inside the screen over the main window.
TEST_F(LyricsWindows, WindowGoesBesideTheMainWindowWhereTheScreenHasRoom) {
    const QRect screen = main->screen()->availableGeometry();
    enum class Side { Right, Left, Over };
    const struct {
        const char* name;
        QRect main;
        Side side;
    } cases[] = {
        {"at the left edge", {screen.left() + 10, screen.top() + 10, 100, 100}, Side::Right},
        {"at the right edge", {screen.right() - 120, screen.top() + 10, 100, 100}, Side::Left},
        {"as wide as the screen",
         {screen.left(), screen.top() + 10, screen.width() - 20, 100},
         Side::Over},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget narrowMain;
        narrowMain.setGeometry(c.main);
        narrowMain.show();
        QWidget window(nullptr, Qt::Window);
        window.resize(300, 200);
        placeBesideMainWindow(&window, &narrowMain, 0);
        window.show();
        const QRect placed = window.frameGeometry();
        if (c.side == Side::Right) {
            EXPECT_GT(placed.left(), narrowMain.frameGeometry().right());
        } else if (c.side == Side::Left) {
            EXPECT_LT(placed.right(), narrowMain.frameGeometry().left());
        }
        EXPECT_TRUE(screen.contains(placed));
        EXPECT_EQ(placed.top(), narrowMain.frameGeometry().top());
    }
}

TEST_F(LyricsWindows, SongWithoutLyricsClosesTheWindowSilently) {
    harness.writeFile("First.txt", "la\r\n");
    main->lyricsPanel->onShowLyricsMenuItemTriggered();
    select("First.mp3");
    main->lyricsPanel->showLyricsForCurrentSong();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);

    select("Second.mp3");
    main->lyricsPanel->showLyricsForCurrentSong();
    EXPECT_FALSE(main->lyricsPanel->lyricsWindow);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, DisplayOffClosesTheWindowWhenASongStarts) {
    harness.writeFile("Song.txt", "la\r\n");
    main->lyricsPanel->onHideLyricsMenuItemTriggered();
    select("Song.mp3");
    main->lyricsPanel->showLyricsForCurrentSong();
    EXPECT_FALSE(main->lyricsPanel->lyricsWindow);

    main->lyricsPanel->showLyricsOnRequest();  // on request the choice does not matter
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    EXPECT_TRUE(main->lyricsPanel->lyricsWindow->isVisible());
    main->lyricsPanel->showLyricsForCurrentSong();
    EXPECT_FALSE(main->lyricsPanel->lyricsWindow);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, DisplayMenuStoresTheChoiceAndLeavesTheWindowAlone) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->lyricsPanel->showLyricsOnRequest();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);

    main->showLyricsMenuItem->trigger();
    EXPECT_TRUE(main->showLyricsMenuItem->isChecked());
    EXPECT_FALSE(main->hideLyricsMenuItem->isChecked());
    EXPECT_EQ(main->lyricsPanel->lyricsDisplay, 1);
    EXPECT_EQ(harness.setting("KASI_DISPLAY"), "1");

    main->hideLyricsMenuItem->trigger();
    EXPECT_FALSE(main->showLyricsMenuItem->isChecked());
    EXPECT_TRUE(main->hideLyricsMenuItem->isChecked());
    EXPECT_EQ(main->lyricsPanel->lyricsDisplay, 0);
    EXPECT_EQ(main->lyricsPanel->lyricsDisplaySetting, "0");
    EXPECT_EQ(harness.setting("KASI_DISPLAY"), "0");

    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    EXPECT_TRUE(main->lyricsPanel->lyricsWindow->isVisible());
    EXPECT_EQ(main->lyricsPanel->lyricsWindow->lyrics(), "la\r\n");
}

TEST_F(LyricsWindows, RefusedSongNameIsReportedAndLeavesTheWindowAsItWas) {
    harness.writeFile("Song.txt", "la\r\n");
    main->lyricsPanel->onShowLyricsMenuItemTriggered();
    select("Song.mp3");
    main->lyricsPanel->showLyricsForCurrentSong();

    select("Song.Mp3");
    main->lyricsPanel->showLyricsForCurrentSong();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "曲名を確認してください" + at("Song.Mp3"));
    // Still open, the new title over the old lyrics.
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    EXPECT_TRUE(main->lyricsPanel->lyricsWindow->isVisible());
    EXPECT_EQ(main->lyricsPanel->lyricsWindow->windowTitle(), "Song.Mp3");
    EXPECT_EQ(main->lyricsPanel->lyricsWindow->lyrics(), "la\r\n");

    main->lyricsPanel->lyricsWindow->close();
    select("");
    main->lyricsPanel->showLyricsOnRequest();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "曲名を確認してください\u3000");
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);  // made, but not shown
    EXPECT_FALSE(main->lyricsPanel->lyricsWindow->isVisible());
}

TEST_F(LyricsWindows, RequestForMissingLyricsIsReported) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->showLyricsButton->click();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);

    select("None.mp3");
    main->showLyricsButton->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "歌詞データが登録されていません\u3000" + at("None.mp3"));
    EXPECT_FALSE(main->lyricsPanel->lyricsWindow);
}

TEST_F(LyricsWindows, CloseBoxDiscardsTheWindowAndTheNextUseStartsAfresh) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->lyricsPanel->showLyricsOnRequest();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    main->lyricsPanel->lyricsWindow->lyricsBox->setPlainText("typed");  // allowed, never stored
    main->lyricsPanel->lyricsWindow->close();
    EXPECT_FALSE(main->lyricsPanel->lyricsWindow);
    settle();

    main->lyricsPanel->showLyricsOnRequest();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    EXPECT_EQ(main->lyricsPanel->lyricsWindow->lyricsBox->toPlainText(), "la\n");
    EXPECT_EQ(harness.readFile("Song.txt"), "la\r\n");
}

// ---- The lyrics editor ----

TEST_F(LyricsWindows, EditorRoundTripAddsOneEmptyLinePerUnchangedSave) {
    select("Artist-Title.mp3");
    main->registerLyricsMenuItem->trigger();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    LyricsEditor* editor = main->lyricsPanel->lyricsEditor;
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "歌詞登録");
    EXPECT_EQ(editor->songPathLabel->text(), at("Artist-Title.mp3"));
    EXPECT_EQ(editor->lyricsBox->toPlainText(), "");
    EXPECT_EQ(editor->lyricsBox->palette().color(QPalette::Base), kPaleYellow);
    EXPECT_FALSE(editor->lyricsBox->isReadOnly());
    EXPECT_TRUE(main->screen()->availableGeometry().contains(editor->frameGeometry()));
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 1);
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->target(), harness.path("Artist-Title"));

    editor->lyricsBox->setPlainText("la\nlu");
    editor->registerButton->click();
    EXPECT_EQ(harness.readFile("Artist-Title.txt"), "la\r\nlu\r\n");
    EXPECT_FALSE(harness.exists("Artist-Title.TMP"));
    EXPECT_FALSE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 0);
    EXPECT_TRUE(messages().empty());
    settle();

    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->lyricsBox->toPlainText(), "la\nlu\n");
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("Artist-Title.txt"), "la\r\nlu\r\n\r\n");
}

TEST_F(LyricsWindows, EditorLoadsOldCp932LyricsAndStoresUtf8) {
    harness.writeFile("Song.txt", "\x89\xcc\x8e\x8c\r\n");
    select("Song.MP3");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->lyricsBox->toPlainText(), "歌詞\n");
    main->lyricsPanel->lyricsEditor->lyricsBox->setPlainText("歌詞\u00a0です");
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("Song.txt"), "歌詞\u00a0です\r\n");
}

TEST_F(LyricsWindows, EditorWritesTheSongItWasOpenedFor) {
    harness.writeFile("First.TMP", "left over");
    select("First.mp3");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    main->lyricsPanel->lyricsEditor->lyricsBox->setPlainText("typed");

    select("Second.mp3");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "編集中の歌詞データがあります");
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->lyricsBox->toPlainText(), "typed");

    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("First.txt"), "typed\r\n");
    EXPECT_FALSE(harness.exists("First.TMP"));
    EXPECT_FALSE(harness.exists("Second.txt"));
}

TEST_F(LyricsWindows, EditorCloseBoxDiscardsTheText) {
    harness.writeFile("Song.txt", "old\r\n");
    select("Song.mp3");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    main->lyricsPanel->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsPanel->lyricsEditor->close();
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 0);
    EXPECT_FALSE(main->lyricsPanel->lyricsEditor);

    // Opened again before the old window is gone: a fresh editor.
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->lyricsBox->toPlainText(), "old\n");
    settle();
    EXPECT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(harness.readFile("Song.txt"), "old\r\n");
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, EditorKeepsTheTextWhenTheFolderCannotBeWritten) {
    select("missing/Song.mp3");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    main->lyricsPanel->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "ファイル作成できませんでした" + at("missing/Song.TMP"));
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_TRUE(main->lyricsPanel->lyricsEditor->isVisible());
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 1);
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->lyricsBox->toPlainText(), "typed");

    // Once the folder is there the same editor registers and closes.
    ASSERT_EQ(::mkdir(harness.path("missing").c_str(), 0755), 0);
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("missing/Song.txt"), "typed\r\n");
    EXPECT_FALSE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 0);
}

TEST_F(LyricsWindows, EditorReportsAFailedRenameAndStaysOpen) {
    // A folder where the lyrics file should go: the rename cannot replace it.
    ASSERT_EQ(::mkdir(harness.path("Song.txt").c_str(), 0755), 0);
    harness.writeFile("Song.txt/keep", "");
    select("Song.mp3");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    main->lyricsPanel->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "歌詞データを登録できませんでした" + at("Song.txt"));
    EXPECT_FALSE(harness.exists("Song.TMP"));
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->lyricsBox->toPlainText(), "typed");
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 1);
}

TEST_F(LyricsWindows, EditorForARefusedSongName) {
    // Not an MP3 name: the editor opens empty after the message and writes
    // beside the whole path.
    select("Song.wav");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "曲名を確認してください" + at("Song.wav"));
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_TRUE(main->lyricsPanel->lyricsEditor->isVisible());
    main->lyricsPanel->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("Song.wav.txt"), "typed\r\n");

    // No song at all: nothing to write to, so registering is refused.
    select("");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "曲名を確認してください");
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    main->lyricsPanel->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2],
              "曲が選択されていません。曲を選択してから歌詞登録をやり直してください");
    EXPECT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditorOpen, 1);
}

// ---- Timed lyrics ----

// Counts the paintings of a widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

TEST_F(LyricsWindows, SungLineIsRepaintedOnlyWhenItChanges) {
    std::string lines;
    for (int second = 1; second < 60; ++second) lines += timeTag(second) + "line\r\n";
    harness.writeFile("Song.lrc", lines);
    main->lyricsPanel->onShowLyricsMenuItemTriggered();
    select("Song.mp3");
    main->jukebox.play();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    LyricsWindow& window = *main->lyricsPanel->lyricsWindow;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    tickAt(30'000);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.sungLine(), 29);
    // The sung line stands in the middle of the box.
    const QRect sung = window.lyricsBox->cursorRect();
    EXPECT_NEAR(sung.center().y(), window.lyricsBox->viewport()->height() / 2, sung.height());

    PaintCounter counter(window.lyricsBox->viewport());
    for (int ms = 30'100; ms < 31'000; ms += 100) {
        tickAt(ms);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
    tickAt(31'000);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.sungLine(), 30);
    EXPECT_GT(counter.paints, 0);
}

TEST_F(LyricsWindows, LyricsFromTheSongsTagAreShownReadOnlyAndEditedIntoALyricsFile) {
    std::filesystem::copy_file(MELVO_FIXTURE_DIR "/timed_lyrics.mp3", harness.path("Tagged.mp3"));
    const std::string song = harness.readFile("Tagged.mp3");
    select("Tagged.mp3");
    main->lyricsPanel->showLyricsOnRequest();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    EXPECT_EQ(main->lyricsPanel->lyricsWindow->lyrics(), "一行目\r\n二行目\r\n三行目\r\n");
    EXPECT_TRUE(main->lyricsPanel->lyricsWindow->lyricsBox->isReadOnly());

    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    EXPECT_EQ(main->lyricsPanel->lyricsEditor->lyricsBox->toPlainText(),
              "[ti:テスト]\n[00:00.50]一行目\n[00:01.50][00:02.50]二行目\n[00:02.00]三行目\n");
    main->lyricsPanel->lyricsEditor->onRegisterButtonClicked();
    EXPECT_TRUE(harness.readFile("Tagged.txt").starts_with("[ti:テスト]\r\n[00:00.50]一行目\r\n"));
    EXPECT_EQ(harness.readFile("Tagged.mp3"), song);

    // The lyrics file now comes first; the window only shows it, the editor edits it.
    harness.writeFile("Tagged.txt", "file\r\n");
    main->lyricsPanel->showLyricsOnRequest();
    ASSERT_TRUE(main->lyricsPanel->lyricsWindow);
    EXPECT_EQ(main->lyricsPanel->lyricsWindow->lyrics(), "file\r\n");
    EXPECT_TRUE(main->lyricsPanel->lyricsWindow->lyricsBox->isReadOnly());
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, StampingWritesThePlayingPositionLineByLine) {
    harness.writeFile("Song.txt", "[00:09.00][00:10.00]a\r\nb\r\nc\r\n");
    select("Song.mp3");
    main->lyricsPanel->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsPanel->lyricsEditor);
    LyricsEditor& editor = *main->lyricsPanel->lyricsEditor;
    EXPECT_FALSE(editor.stampButton->isEnabled());
    EXPECT_EQ(editor.positionLabel->text(), "演奏位置 --:--.--");
    QList<QShortcut*> shortcuts = editor.findChildren<QShortcut*>();
    ASSERT_EQ(shortcuts.size(), 1);
    EXPECT_EQ(shortcuts[0]->key(), QKeySequence(Qt::Key_F5));

    main->jukebox.play();
    const struct {
        std::int64_t ms;
        int line;  // where the cursor is put first; -1 leaves it
        std::string label;
        std::string text;
    } taps[] = {
        {1234, -1, "演奏位置 00:01.23", "[00:01.23]a\nb\nc\n"},
        {2500, -1, "演奏位置 00:02.50", "[00:01.23]a\n[00:02.50]b\nc\n"},
        {900, 0, "演奏位置 00:00.90", "[00:00.90]a\n[00:02.50]b\nc\n"},
        {61'000, 3, "演奏位置 01:01.00", "[00:00.90]a\n[00:02.50]b\nc\n[01:01.00]"},
    };
    for (const auto& tap : taps) {
        tickAt(tap.ms);
        EXPECT_TRUE(editor.stampButton->isEnabled());
        EXPECT_EQ(editor.positionLabel->text().toStdString(), tap.label);
        if (tap.line >= 0) {
            editor.lyricsBox->setTextCursor(
                QTextCursor(editor.lyricsBox->document()->findBlockByNumber(tap.line)));
        }
        const int line = editor.lyricsBox->textCursor().blockNumber();
        editor.stampButton->click();
        EXPECT_EQ(editor.lyricsBox->toPlainText().toStdString(), tap.text);
        const QTextCursor cursor = editor.lyricsBox->textCursor();
        // On to the next line's start; the last line has none to go to.
        EXPECT_EQ(cursor.blockNumber(), std::min(line + 1, 3)) << tap.ms;
        if (line < 3) {
            EXPECT_EQ(cursor.positionInBlock(), 0) << tap.ms;
        }
    }
    editor.lyricsBox->undo();  // one stamp is one step
    EXPECT_EQ(editor.lyricsBox->toPlainText(), "[00:00.90]a\n[00:02.50]b\nc\n");

    main->jukebox.stop();
    EXPECT_FALSE(editor.stampButton->isEnabled());
    EXPECT_EQ(editor.positionLabel->text(), "演奏位置 --:--.--");
    editor.onStampButtonClicked();  // without a song nothing is stamped
    EXPECT_EQ(editor.lyricsBox->toPlainText(), "[00:00.90]a\n[00:02.50]b\nc\n");

    editor.registerButton->click();
    EXPECT_EQ(harness.readFile("Song.txt"), "[00:00.90]a\r\n[00:02.50]b\r\nc\r\n\r\n");
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace melvo
