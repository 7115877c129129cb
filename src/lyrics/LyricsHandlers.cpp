// Lyrics: the lyrics window and the lyrics editor, as the main window drives them.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "common/FileNames.h"
#include "lyrics/LyricsEditor.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsWindow.h"
#include "lyrics/SongLyrics.h"
#include "settings/Settings.h"

namespace melvo {

namespace {

// How far below the main window's top the two windows open: the editor at the
// top, the lyrics window a little lower, both to the right of the main window.
constexpr int kEditorDownTwips = 0;
constexpr int kLyricsWindowDownTwips = 165;

LyricsWindow* ensureLyricsWindow(MainWindow& main) {
    if (!main.lyricsWindow) main.lyricsWindow = new LyricsWindow(&main);
    return main.lyricsWindow;
}

LyricsEditor* ensureLyricsEditor(MainWindow& main) {
    if (!main.lyricsEditor) main.lyricsEditor = new LyricsEditor(&main);
    return main.lyricsEditor;
}

void discardLyricsWindow(MainWindow& main) {
    if (main.lyricsWindow) main.lyricsWindow->close();
}

// Shows the selected song's lyrics in the lyrics window. onRequest: the user
// asked for them, so a missing lyrics file is reported; otherwise it only
// closes the window.
void showLyrics(MainWindow& main, bool onRequest) {
    const std::string path = main.jukebox.chosenPath();
    main.setLyricsWindowTitle(path);
    LyricsWindow* window = ensureLyricsWindow(main);
    window->songPathLabel->setText(displayPath(path));

    if (!lyricsStem(path)) {
        // The window stays as it was: open with the new title over the old
        // lyrics, or hidden.
        main.services.dialogs.message(
            QString(onRequest ? "曲名を確認してください　" : "曲名を確認してください") +
            window->songPathLabel->text());
        return;
    }
    const std::optional<SongLyrics> lyrics = readSongLyrics(path);
    if (!lyrics) {
        if (onRequest)
            main.services.dialogs.message("歌詞データが登録されていません　" +
                                          main.songPathLabel->text());
        discardLyricsWindow(main);
        return;
    }
    // Lyrics from the song's own tag are only shown; the editor keeps a lyrics file.
    window->lyricsBox->setReadOnly(lyrics->source == LyricsSource::Song);
    window->setLyrics(lyrics->lyrics.text, path);
    if (!window->isVisible()) placeBesideMainWindow(window, &main, kLyricsWindowDownTwips);
    window->show();
}

void storeLyricsDisplay(MainWindow& main, int display) {
    main.showLyricsMenuItem->setChecked(display != 0);
    main.hideLyricsMenuItem->setChecked(display == 0);
    main.lyricsDisplay = display;
    main.lyricsDisplaySetting = display != 0 ? "1" : "0";
    writeSetting(main.lyricsDisplaySetting, "KASI_DISPLAY", kSettingsSection,
                 main.jukebox.settingsPath());
}

}  // namespace

void MainWindow::showLyricsForCurrentSong() {
    if (lyricsDisplay == 0) {
        discardLyricsWindow(*this);
        return;
    }
    showLyrics(*this, false);
}

void MainWindow::showLyricsOnRequest() { showLyrics(*this, true); }

void MainWindow::setLyricsWindowTitle(const std::string& path) {
    ensureLyricsWindow(*this)->setWindowTitle(displayPath(lyricsTitleFor(path)));
}

void MainWindow::onShowLyricsButtonClicked() { showLyricsOnRequest(); }

void MainWindow::onShowLyricsMenuItemTriggered() { storeLyricsDisplay(*this, 1); }

void MainWindow::onHideLyricsMenuItemTriggered() { storeLyricsDisplay(*this, 0); }

void MainWindow::onRegisterLyricsMenuItemTriggered() {
    if (lyricsEditorOpen == 1) {
        services.dialogs.message("編集中の歌詞データがあります");
        return;
    }
    QPointer<LyricsEditor> editor = ensureLyricsEditor(*this);
    editor->lyricsBox->clear();
    if (!prepareLyricsEditor()) {
        editor->close();  // saving part of the lyrics would lose the rest
        return;
    }
    lyricsEditorOpen = 1;
    // The editor opens also when the song path was refused: the user sees why.
    if (!editor) return;
    placeBesideMainWindow(editor, this, kEditorDownTwips);
    editor->show();
}

bool MainWindow::prepareLyricsEditor() {
    LyricsEditor* editor = ensureLyricsEditor(*this);
    lyricsEditTarget = jukebox.chosenPath();
    editor->songPathLabel->setText(displayPath(lyricsEditTarget));
    const std::optional<std::string> stem = lyricsStem(lyricsEditTarget);
    if (!stem) {
        services.dialogs.message("曲名を確認してください" + editor->songPathLabel->text());
        return true;
    }
    const std::string songPath = lyricsEditTarget;
    lyricsEditTarget = *stem;
    // The editor starts from the lyrics the lyrics window shows, tags and all,
    // and registers them as the lyrics file; with none it starts empty,
    // without a message.
    const std::optional<SongLyrics> lyrics = readSongLyrics(songPath);
    if (lyrics && lyrics->lyrics.cut) {
        services.dialogs.message(kLyricsTooLongToEdit +
                                 displayPath(lyricsSourcePath(songPath, lyrics->source)));
        return false;
    }
    if (lyrics) editor->setLyrics(lyrics->lyrics.text);
    return true;
}

}  // namespace melvo
