// Lyrics files that could stall or overwhelm the window: a named pipe where
// the lyrics belong, and lyrics far longer than any song's.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QPlainTextEdit>

#include "lyrics/LyricsEditor.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsWindow.h"
#include "support/WindowHarness.h"

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

}  // namespace
}  // namespace melvo
