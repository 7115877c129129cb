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
        main->Label2->setText(QString::fromStdString(name.empty() ? "" : harness.path(name)));
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
    main->menu_kasi_dsp_Click();
    select("Artist-Title.mp3");
    main->ShowLyricsForCurrentSong();

    ASSERT_TRUE(main->kasi_dsp);
    LyricsWindow& window = *main->kasi_dsp;
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Title.mp3");
    EXPECT_EQ(window.Label1->text(), "曲名 ");
    EXPECT_EQ(window.Label2->text(), at("Artist-Title.mp3"));
    EXPECT_EQ(window.lyrics(), "la\r\nlu\r\n");
    EXPECT_EQ(window.Text1->toPlainText(), "la\nlu\n");
    EXPECT_EQ(window.Text1->palette().color(QPalette::Base), kPaleYellow);
    EXPECT_EQ(window.Command1->text(), "終了");
    EXPECT_GT(window.frameGeometry().left(), main->frameGeometry().right());
    EXPECT_TRUE(messages().empty());

    // The next song's lyrics replace these in the same window.
    harness.writeFile("Other.txt", "");
    select("Other.MP3");
    main->ShowLyricsForCurrentSong();
    EXPECT_EQ(main->kasi_dsp, &window);
    EXPECT_EQ(window.windowTitle(), "Other.MP3");
    EXPECT_EQ(window.lyrics(), "");

    window.Command1->click();
    EXPECT_FALSE(main->kasi_dsp);
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
    main->menu_kasi_dsp_Click();
    select("First.mp3");
    main->ShowLyricsForCurrentSong();
    ASSERT_TRUE(main->kasi_dsp);

    select("Second.mp3");
    main->ShowLyricsForCurrentSong();
    EXPECT_FALSE(main->kasi_dsp);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, DisplayOffClosesTheWindowWhenASongStarts) {
    harness.writeFile("Song.txt", "la\r\n");
    main->menu_kasi_nondsp_Click();
    select("Song.mp3");
    main->ShowLyricsForCurrentSong();
    EXPECT_FALSE(main->kasi_dsp);

    main->Command7_Click();  // on request the choice does not matter
    ASSERT_TRUE(main->kasi_dsp);
    EXPECT_TRUE(main->kasi_dsp->isVisible());
    main->ShowLyricsForCurrentSong();
    EXPECT_FALSE(main->kasi_dsp);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, DisplayMenuStoresTheChoiceAndLeavesTheWindowAlone) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->Command7_Click();
    ASSERT_TRUE(main->kasi_dsp);

    main->menu_kasi_dsp->trigger();
    EXPECT_TRUE(main->menu_kasi_dsp->isChecked());
    EXPECT_FALSE(main->menu_kasi_nondsp->isChecked());
    EXPECT_EQ(main->lyricsDisplay, 1);
    EXPECT_EQ(harness.setting("KASI_DISPLAY"), "1");

    main->menu_kasi_nondsp->trigger();
    EXPECT_FALSE(main->menu_kasi_dsp->isChecked());
    EXPECT_TRUE(main->menu_kasi_nondsp->isChecked());
    EXPECT_EQ(main->lyricsDisplay, 0);
    EXPECT_EQ(main->lyricsDisplaySetting, "0");
    EXPECT_EQ(harness.setting("KASI_DISPLAY"), "0");

    ASSERT_TRUE(main->kasi_dsp);
    EXPECT_TRUE(main->kasi_dsp->isVisible());
    EXPECT_EQ(main->kasi_dsp->lyrics(), "la\r\n");
}

TEST_F(LyricsWindows, RefusedSongNameIsReportedAndLeavesTheWindowAsItWas) {
    harness.writeFile("Song.txt", "la\r\n");
    main->menu_kasi_dsp_Click();
    select("Song.mp3");
    main->ShowLyricsForCurrentSong();

    select("Song.Mp3");
    main->ShowLyricsForCurrentSong();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "曲名を確認してください" + at("Song.Mp3"));
    // Still open, the new title over the old lyrics.
    ASSERT_TRUE(main->kasi_dsp);
    EXPECT_TRUE(main->kasi_dsp->isVisible());
    EXPECT_EQ(main->kasi_dsp->windowTitle(), "Song.Mp3");
    EXPECT_EQ(main->kasi_dsp->lyrics(), "la\r\n");

    main->kasi_dsp->close();
    select("");
    main->Command7_Click();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "曲名を確認してください\u3000");
    ASSERT_TRUE(main->kasi_dsp);  // made, but not shown
    EXPECT_FALSE(main->kasi_dsp->isVisible());
}

TEST_F(LyricsWindows, RequestForMissingLyricsIsReported) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->Command7->click();
    ASSERT_TRUE(main->kasi_dsp);

    select("None.mp3");
    main->Command7->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "歌詞データが登録されていません\u3000" + at("None.mp3"));
    EXPECT_FALSE(main->kasi_dsp);
}

TEST_F(LyricsWindows, CloseBoxDiscardsTheWindowAndTheNextUseStartsAfresh) {
    harness.writeFile("Song.txt", "la\r\n");
    select("Song.mp3");
    main->Command7_Click();
    ASSERT_TRUE(main->kasi_dsp);
    main->kasi_dsp->Text1->setPlainText("typed");  // allowed, never stored
    main->kasi_dsp->close();
    EXPECT_FALSE(main->kasi_dsp);
    settle();

    main->Command7_Click();
    ASSERT_TRUE(main->kasi_dsp);
    EXPECT_EQ(main->kasi_dsp->Text1->toPlainText(), "la\n");
    EXPECT_EQ(harness.readFile("Song.txt"), "la\r\n");
}

// ---- The lyrics editor ----

TEST_F(LyricsWindows, EditorRoundTripAddsOneEmptyLinePerUnchangedSave) {
    select("Artist-Title.mp3");
    main->menu_kasi_touroku->trigger();
    ASSERT_TRUE(main->kasi_setup);
    LyricsEditor* editor = main->kasi_setup;
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->windowTitle(), "歌詞登録");
    EXPECT_EQ(editor->Label2->text(), at("Artist-Title.mp3"));
    EXPECT_EQ(editor->Text1->toPlainText(), "");
    EXPECT_EQ(editor->Text1->palette().color(QPalette::Base), kPaleYellow);
    EXPECT_FALSE(editor->Text1->isReadOnly());
    EXPECT_GT(editor->frameGeometry().left(), main->frameGeometry().right());
    EXPECT_EQ(main->lyricsEditorOpen, 1);
    EXPECT_EQ(main->lyricsEditTarget, harness.path("Artist-Title"));

    editor->Text1->setPlainText("la\nlu");
    editor->Command1->click();
    EXPECT_EQ(harness.readFile("Artist-Title.txt"), "la\r\nlu\r\n");
    EXPECT_FALSE(harness.exists("Artist-Title.TMP"));
    EXPECT_FALSE(main->kasi_setup);
    EXPECT_EQ(main->lyricsEditorOpen, 0);
    EXPECT_TRUE(messages().empty());
    settle();

    main->menu_kasi_touroku_Click();
    ASSERT_TRUE(main->kasi_setup);
    EXPECT_EQ(main->kasi_setup->Text1->toPlainText(), "la\nlu\n");
    main->kasi_setup->Command1_Click();
    EXPECT_EQ(harness.readFile("Artist-Title.txt"), "la\r\nlu\r\n\r\n");
}

TEST_F(LyricsWindows, EditorLoadsOldCp932LyricsAndStoresUtf8) {
    harness.writeFile("Song.txt", "\x89\xcc\x8e\x8c\r\n");
    select("Song.MP3");
    main->menu_kasi_touroku_Click();
    ASSERT_TRUE(main->kasi_setup);
    EXPECT_EQ(main->kasi_setup->Text1->toPlainText(), "歌詞\n");
    main->kasi_setup->Text1->setPlainText("歌詞\u00a0です");
    main->kasi_setup->Command1_Click();
    EXPECT_EQ(harness.readFile("Song.txt"), "歌詞\u00a0です\r\n");
}

TEST_F(LyricsWindows, EditorWritesTheSongItWasOpenedFor) {
    harness.writeFile("First.TMP", "left over");
    select("First.mp3");
    main->menu_kasi_touroku_Click();
    ASSERT_TRUE(main->kasi_setup);
    main->kasi_setup->Text1->setPlainText("typed");

    select("Second.mp3");
    main->menu_kasi_touroku_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "編集中の歌詞データがあります");
    EXPECT_EQ(main->kasi_setup->Text1->toPlainText(), "typed");

    main->kasi_setup->Command1_Click();
    EXPECT_EQ(harness.readFile("First.txt"), "typed\r\n");
    EXPECT_FALSE(harness.exists("First.TMP"));
    EXPECT_FALSE(harness.exists("Second.txt"));
}

TEST_F(LyricsWindows, EditorCloseBoxDiscardsTheText) {
    harness.writeFile("Song.txt", "old\r\n");
    select("Song.mp3");
    main->menu_kasi_touroku_Click();
    ASSERT_TRUE(main->kasi_setup);
    main->kasi_setup->Text1->setPlainText("typed");
    main->kasi_setup->close();
    EXPECT_EQ(main->lyricsEditorOpen, 0);
    EXPECT_FALSE(main->kasi_setup);

    // Opened again before the old window is gone: a fresh editor.
    main->menu_kasi_touroku_Click();
    ASSERT_TRUE(main->kasi_setup);
    EXPECT_EQ(main->kasi_setup->Text1->toPlainText(), "old\n");
    settle();
    EXPECT_TRUE(main->kasi_setup);
    EXPECT_EQ(harness.readFile("Song.txt"), "old\r\n");
    EXPECT_TRUE(messages().empty());
}

TEST_F(LyricsWindows, EditorKeepsTheTextWhenTheFolderCannotBeWritten) {
    select("missing/Song.mp3");
    main->menu_kasi_touroku_Click();
    ASSERT_TRUE(main->kasi_setup);
    main->kasi_setup->Text1->setPlainText("typed");
    main->kasi_setup->Command1_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "ファイル作成できませんでした" + at("missing/Song.TMP"));
    ASSERT_TRUE(main->kasi_setup);
    EXPECT_TRUE(main->kasi_setup->isVisible());
    EXPECT_EQ(main->lyricsEditorOpen, 1);
    EXPECT_EQ(main->kasi_setup->Text1->toPlainText(), "typed");

    // Once the folder is there the same editor registers and closes.
    ASSERT_EQ(::mkdir(harness.path("missing").c_str(), 0755), 0);
    main->kasi_setup->Command1_Click();
    EXPECT_EQ(harness.readFile("missing/Song.txt"), "typed\r\n");
    EXPECT_FALSE(main->kasi_setup);
    EXPECT_EQ(main->lyricsEditorOpen, 0);
}

TEST_F(LyricsWindows, EditorReportsAFailedRenameAndStaysOpen) {
    // A folder where the lyrics file should go: the rename cannot replace it.
    ASSERT_EQ(::mkdir(harness.path("Song.txt").c_str(), 0755), 0);
    harness.writeFile("Song.txt/keep", "");
    select("Song.mp3");
    main->menu_kasi_touroku_Click();
    ASSERT_TRUE(main->kasi_setup);
    main->kasi_setup->Text1->setPlainText("typed");
    main->kasi_setup->Command1_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "歌詞データを登録できませんでした" + at("Song.txt"));
    EXPECT_FALSE(harness.exists("Song.TMP"));
    ASSERT_TRUE(main->kasi_setup);
    EXPECT_EQ(main->kasi_setup->Text1->toPlainText(), "typed");
    EXPECT_EQ(main->lyricsEditorOpen, 1);
}

TEST_F(LyricsWindows, EditorForARefusedSongName) {
    // Not an MP3 name: the editor opens empty after the message and writes
    // beside the whole path.
    select("Song.wav");
    main->menu_kasi_touroku_Click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "曲名を確認してください" + at("Song.wav"));
    ASSERT_TRUE(main->kasi_setup);
    EXPECT_TRUE(main->kasi_setup->isVisible());
    main->kasi_setup->Text1->setPlainText("typed");
    main->kasi_setup->Command1_Click();
    EXPECT_EQ(harness.readFile("Song.wav.txt"), "typed\r\n");

    // No song at all: nothing to write to, so registering is refused.
    select("");
    main->menu_kasi_touroku_Click();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "曲名を確認してください");
    ASSERT_TRUE(main->kasi_setup);
    main->kasi_setup->Text1->setPlainText("typed");
    main->kasi_setup->Command1_Click();
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2],
              "曲が選択されていません。曲を選択してから歌詞登録をやり直してください");
    EXPECT_TRUE(main->kasi_setup);
    EXPECT_EQ(main->lyricsEditorOpen, 1);
}

}  // namespace
}  // namespace melvo
