#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "lyrics/LyricsEditor.h"
#include "lyrics/LyricsWindow.h"
#include "support/WindowHarness.h"

namespace melvo {
namespace {

const QColor kPaleYellow(255, 255, 192);

class LyricsWindows : public testing::Test {
  protected:
    void SetUp() override {
        main = &harness.start();
        // The windows open beside the main window, wherever the user put it.
        main->move(120, 40);
        main->show();
    }

    // Selects a song of the data folder, as a click in the song list does.
    void select(const std::string& name) {
        main->songPathLabel->setText(
            QString::fromStdString(name.empty() ? "" : harness.path(name)));
    }
    QString at(const std::string& name) const { return QString::fromStdString(harness.path(name)); }
    std::vector<QString>& messages() { return harness.dialogs.messages; }
    // Lets windows closed by close() go away, as the event loop would.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::WindowHarness harness;
    MainWindow* main = nullptr;
};

TEST_F(LyricsWindows, SongStartShowsTitlePathAndLyricsBesideTheMainWindow) {
    harness.writeFile("Artist-Title.txt", "la\r\nlu");
    main->onShowLyricsMenuItemTriggered();
    select("Artist-Title.mp3");
    main->showLyricsForCurrentSong();

    ASSERT_TRUE(main->lyricsWindow);
    LyricsWindow& window = *main->lyricsWindow;
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Title.mp3");
    EXPECT_EQ(window.songCaptionLabel->text(), "曲名 ");
    EXPECT_EQ(window.songPathLabel->text(), at("Artist-Title.mp3"));
    EXPECT_EQ(window.lyrics(), "la\r\nlu\r\n");
    EXPECT_EQ(window.lyricsBox->toPlainText(), "la\nlu\n");
    EXPECT_EQ(window.lyricsBox->palette().color(QPalette::Base), kPaleYellow);
    EXPECT_EQ(window.addSongButton->text(), "終了");
    EXPECT_GT(window.frameGeometry().left(), main->frameGeometry().right());
    EXPECT_TRUE(messages().empty());

    // The next song's lyrics replace these in the same window.
    harness.writeFile("Other.txt", "");
    select("Other.MP3");
    main->showLyricsForCurrentSong();
    EXPECT_EQ(main->lyricsWindow, &window);
    EXPECT_EQ(window.windowTitle(), "Other.MP3");
    EXPECT_EQ(window.lyrics(), "");

    window.addSongButton->click();
    EXPECT_FALSE(main->lyricsWindow);
}

TEST_F(LyricsWindows, WindowGoesLeftOfAMainWindowAtTheScreensRightEdge) {
    const QRect screen = main->screen()->availableGeometry();
    QWidget narrowMain;
    narrowMain.resize(100, 100);
    narrowMain.move(screen.right() - 120, screen.top() + 10);
    narrowMain.show();
    QWidget window(nullptr, Qt::Window);
    window.resize(300, 200);
    placeBesideMainWindow(&window, &narrowMain, 0);
    window.show();
    EXPECT_LT(window.frameGeometry().right(), narrowMain.frameGeometry().left());
    EXPECT_EQ(window.frameGeometry().top(), narrowMain.frameGeometry().top());
}

TEST_F(LyricsWindows, SongWithoutLyricsClosesTheWindowSilently) {
    harness.writeFile("First.txt", "la\r\n");
    main->onShowLyricsMenuItemTriggered();
    select("First.mp3");
    main->showLyricsForCurrentSong();
    ASSERT_TRUE(main->lyricsWindow);

    select("Second.mp3");
    main->showLyricsForCurrentSong();
    EXPECT_FALSE(main->lyricsWindow);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, DisplayOffClosesTheWindowWhenASongStarts) {
    harness.writeFile("Song.txt", "la\r\n");
    main->onHideLyricsMenuItemTriggered();
    select("Song.mp3");
    main->showLyricsForCurrentSong();
    EXPECT_FALSE(main->lyricsWindow);

    main->onShowLyricsButtonClicked();  // on request the choice does not matter
    ASSERT_TRUE(main->lyricsWindow);
    EXPECT_TRUE(main->lyricsWindow->isVisible());
    main->showLyricsForCurrentSong();
    EXPECT_FALSE(main->lyricsWindow);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, DisplayMenuStoresTheChoiceAndLeavesTheWindowAlone) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->onShowLyricsButtonClicked();
    ASSERT_TRUE(main->lyricsWindow);

    main->showLyricsMenuItem->trigger();
    EXPECT_TRUE(main->showLyricsMenuItem->isChecked());
    EXPECT_FALSE(main->hideLyricsMenuItem->isChecked());
    EXPECT_EQ(main->lyricsDisplay, 1);
    EXPECT_EQ(harness.setting("KASI_DISPLAY"), "1");

    main->hideLyricsMenuItem->trigger();
    EXPECT_FALSE(main->showLyricsMenuItem->isChecked());
    EXPECT_TRUE(main->hideLyricsMenuItem->isChecked());
    EXPECT_EQ(main->lyricsDisplay, 0);
    EXPECT_EQ(main->lyricsDisplaySetting, "0");
    EXPECT_EQ(harness.setting("KASI_DISPLAY"), "0");

    ASSERT_TRUE(main->lyricsWindow);
    EXPECT_TRUE(main->lyricsWindow->isVisible());
    EXPECT_EQ(main->lyricsWindow->lyrics(), "la\r\n");
}

TEST_F(LyricsWindows, RefusedSongNameIsReportedAndLeavesTheWindowAsItWas) {
    harness.writeFile("Song.txt", "la\r\n");
    main->onShowLyricsMenuItemTriggered();
    select("Song.mp3");
    main->showLyricsForCurrentSong();

    select("Song.Mp3");
    main->showLyricsForCurrentSong();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "曲名を確認してください" + at("Song.Mp3"));
    // Still open, the new title over the old lyrics.
    ASSERT_TRUE(main->lyricsWindow);
    EXPECT_TRUE(main->lyricsWindow->isVisible());
    EXPECT_EQ(main->lyricsWindow->windowTitle(), "Song.Mp3");
    EXPECT_EQ(main->lyricsWindow->lyrics(), "la\r\n");

    main->lyricsWindow->close();
    select("");
    main->onShowLyricsButtonClicked();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "曲名を確認してください\u3000");
    ASSERT_TRUE(main->lyricsWindow);  // made, but not shown
    EXPECT_FALSE(main->lyricsWindow->isVisible());
}

TEST_F(LyricsWindows, RequestForMissingLyricsIsReported) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->showLyricsButton->click();
    ASSERT_TRUE(main->lyricsWindow);

    select("None.mp3");
    main->showLyricsButton->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "歌詞データが登録されていません\u3000" + at("None.mp3"));
    EXPECT_FALSE(main->lyricsWindow);
}

TEST_F(LyricsWindows, CloseBoxDiscardsTheWindowAndTheNextUseStartsAfresh) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->onShowLyricsButtonClicked();
    ASSERT_TRUE(main->lyricsWindow);
    main->lyricsWindow->lyricsBox->setPlainText("typed");  // allowed, never stored
    main->lyricsWindow->close();
    EXPECT_FALSE(main->lyricsWindow);
    settle();

    main->onShowLyricsButtonClicked();
    ASSERT_TRUE(main->lyricsWindow);
    EXPECT_EQ(main->lyricsWindow->lyricsBox->toPlainText(), "la\n");
    EXPECT_EQ(harness.readFile("Song.txt"), "la\r\n");
}

// ---- The lyrics editor ----

TEST_F(LyricsWindows, EditorRoundTripAddsOneEmptyLinePerUnchangedSave) {
    select("Artist-Title.mp3");
    main->registerLyricsMenuItem->trigger();
    ASSERT_TRUE(main->lyricsEditor);
    LyricsEditor* editor = main->lyricsEditor;
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "歌詞登録");
    EXPECT_EQ(editor->songPathLabel->text(), at("Artist-Title.mp3"));
    EXPECT_EQ(editor->lyricsBox->toPlainText(), "");
    EXPECT_EQ(editor->lyricsBox->palette().color(QPalette::Base), kPaleYellow);
    EXPECT_FALSE(editor->lyricsBox->isReadOnly());
    EXPECT_GT(editor->frameGeometry().left(), main->frameGeometry().right());
    EXPECT_EQ(main->lyricsEditorOpen, 1);
    EXPECT_EQ(main->lyricsEditTarget, harness.path("Artist-Title"));

    editor->lyricsBox->setPlainText("la\nlu");
    editor->registerButton->click();
    EXPECT_EQ(harness.readFile("Artist-Title.txt"), "la\r\nlu\r\n");
    EXPECT_FALSE(harness.exists("Artist-Title.TMP"));
    EXPECT_FALSE(main->lyricsEditor);
    EXPECT_EQ(main->lyricsEditorOpen, 0);
    EXPECT_TRUE(messages().empty());
    settle();

    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsEditor);
    EXPECT_EQ(main->lyricsEditor->lyricsBox->toPlainText(), "la\nlu\n");
    main->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("Artist-Title.txt"), "la\r\nlu\r\n\r\n");
}

TEST_F(LyricsWindows, EditorLoadsOldCp932LyricsAndStoresUtf8) {
    harness.writeFile("Song.txt", "\x89\xcc\x8e\x8c\r\n");
    select("Song.MP3");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsEditor);
    EXPECT_EQ(main->lyricsEditor->lyricsBox->toPlainText(), "歌詞\n");
    main->lyricsEditor->lyricsBox->setPlainText("歌詞\u00a0です");
    main->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("Song.txt"), "歌詞\u00a0です\r\n");
}

TEST_F(LyricsWindows, EditorWritesTheSongItWasOpenedFor) {
    harness.writeFile("First.TMP", "left over");
    select("First.mp3");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsEditor);
    main->lyricsEditor->lyricsBox->setPlainText("typed");

    select("Second.mp3");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "編集中の歌詞データがあります");
    EXPECT_EQ(main->lyricsEditor->lyricsBox->toPlainText(), "typed");

    main->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("First.txt"), "typed\r\n");
    EXPECT_FALSE(harness.exists("First.TMP"));
    EXPECT_FALSE(harness.exists("Second.txt"));
}

TEST_F(LyricsWindows, EditorCloseBoxDiscardsTheText) {
    harness.writeFile("Song.txt", "old\r\n");
    select("Song.mp3");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsEditor);
    main->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsEditor->close();
    EXPECT_EQ(main->lyricsEditorOpen, 0);
    EXPECT_FALSE(main->lyricsEditor);

    // Opened again before the old window is gone: a fresh editor.
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsEditor);
    EXPECT_EQ(main->lyricsEditor->lyricsBox->toPlainText(), "old\n");
    settle();
    EXPECT_TRUE(main->lyricsEditor);
    EXPECT_EQ(harness.readFile("Song.txt"), "old\r\n");
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, EditorKeepsTheTextWhenTheFolderCannotBeWritten) {
    select("missing/Song.mp3");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsEditor);
    main->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsEditor->onRegisterButtonClicked();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "ファイル作成できませんでした" + at("missing/Song.TMP"));
    ASSERT_TRUE(main->lyricsEditor);
    EXPECT_TRUE(main->lyricsEditor->isVisible());
    EXPECT_EQ(main->lyricsEditorOpen, 1);
    EXPECT_EQ(main->lyricsEditor->lyricsBox->toPlainText(), "typed");

    // Once the folder is there the same editor registers and closes.
    ASSERT_EQ(::mkdir(harness.path("missing").c_str(), 0755), 0);
    main->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("missing/Song.txt"), "typed\r\n");
    EXPECT_FALSE(main->lyricsEditor);
    EXPECT_EQ(main->lyricsEditorOpen, 0);
}

TEST_F(LyricsWindows, EditorReportsAFailedRenameAndStaysOpen) {
    // A folder where the lyrics file should go: the rename cannot replace it.
    ASSERT_EQ(::mkdir(harness.path("Song.txt").c_str(), 0755), 0);
    harness.writeFile("Song.txt/keep", "");
    select("Song.mp3");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_TRUE(main->lyricsEditor);
    main->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsEditor->onRegisterButtonClicked();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "歌詞データを登録できませんでした" + at("Song.txt"));
    EXPECT_FALSE(harness.exists("Song.TMP"));
    ASSERT_TRUE(main->lyricsEditor);
    EXPECT_EQ(main->lyricsEditor->lyricsBox->toPlainText(), "typed");
    EXPECT_EQ(main->lyricsEditorOpen, 1);
}

TEST_F(LyricsWindows, EditorForARefusedSongName) {
    // Not an MP3 name: the editor opens empty after the message and writes
    // beside the whole path.
    select("Song.wav");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "曲名を確認してください" + at("Song.wav"));
    ASSERT_TRUE(main->lyricsEditor);
    EXPECT_TRUE(main->lyricsEditor->isVisible());
    main->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsEditor->onRegisterButtonClicked();
    EXPECT_EQ(harness.readFile("Song.wav.txt"), "typed\r\n");

    // No song at all: nothing to write to, so registering is refused.
    select("");
    main->onRegisterLyricsMenuItemTriggered();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "曲名を確認してください");
    ASSERT_TRUE(main->lyricsEditor);
    main->lyricsEditor->lyricsBox->setPlainText("typed");
    main->lyricsEditor->onRegisterButtonClicked();
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2],
              "曲が選択されていません。曲を選択してから歌詞登録をやり直してください");
    EXPECT_TRUE(main->lyricsEditor);
    EXPECT_EQ(main->lyricsEditorOpen, 1);
}

}  // namespace
}  // namespace melvo
