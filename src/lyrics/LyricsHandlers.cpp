// Lyrics: the lyrics window and the lyrics editor, as the main window drives them.
#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "lyrics/LyricsEditor.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsWindow.h"
#include "settings/Settings.h"

namespace melvo {

namespace {

// How far below the main window's top the two windows open: the editor at the
// top, the lyrics window a little lower, both to the right of the main window.
constexpr int kEditorDownTwips = 0;
constexpr int kLyricsWindowDownTwips = 165;

LyricsWindow* lyricsWindow(MainWindow& main) {
    if (!main.kasi_dsp) main.kasi_dsp = new LyricsWindow(&main);
    return main.kasi_dsp;
}

LyricsEditor* lyricsEditor(MainWindow& main) {
    if (!main.kasi_setup) main.kasi_setup = new LyricsEditor(&main);
    return main.kasi_setup;
}

void discardLyricsWindow(MainWindow& main) {
    if (main.kasi_dsp) main.kasi_dsp->close();
}

// Shows the selected song's lyrics in the lyrics window. onRequest: the user
// asked for them, so a missing lyrics file is reported; otherwise it only
// closes the window.
void showLyrics(MainWindow& main, bool onRequest) {
    const std::string path = main.Label2->text().toStdString();
    main.SetLyricsWindowTitle(path);
    LyricsWindow* window = lyricsWindow(main);
    window->Label2->setText(QString::fromStdString(path));

    const std::optional<std::string> lyricsFile = lyricsFileFor(path);
    if (!lyricsFile) {
        // The window stays as it was: open with the new title over the old
        // lyrics, or hidden.
        main.services.dialogs.message(
            QString(onRequest ? "曲名を確認してください　" : "曲名を確認してください") +
            window->Label2->text());
        return;
    }
    const std::optional<std::string> text = readLyricsText(*lyricsFile);
    if (!text) {
        if (onRequest)
            main.services.dialogs.message("歌詞データが登録されていません　" + main.Label2->text());
        discardLyricsWindow(main);
        return;
    }
    window->setLyrics(*text);
    if (!window->isVisible()) placeBesideMainWindow(window, &main, kLyricsWindowDownTwips);
    window->show();
}

void storeLyricsDisplay(MainWindow& main, int display) {
    main.menu_kasi_dsp->setChecked(display != 0);
    main.menu_kasi_nondsp->setChecked(display == 0);
    main.lyricsDisplay = display;
    main.lyricsDisplaySetting = display != 0 ? "1" : "0";
    WriteSetting(main.lyricsDisplaySetting, "KASI_DISPLAY", kSettingsSection, main.settingsPath());
}

}  // namespace

void MainWindow::ShowLyricsForCurrentSong() {
    if (lyricsDisplay == 0) {
        discardLyricsWindow(*this);
        return;
    }
    showLyrics(*this, false);
}

void MainWindow::ShowLyricsOnRequest() { showLyrics(*this, true); }

void MainWindow::SetLyricsWindowTitle(const std::string& path) {
    lyricsWindow(*this)->setWindowTitle(QString::fromStdString(lyricsTitleFor(path)));
}

void MainWindow::Command7_Click() { ShowLyricsOnRequest(); }

void MainWindow::menu_kasi_dsp_Click() { storeLyricsDisplay(*this, 1); }

void MainWindow::menu_kasi_nondsp_Click() { storeLyricsDisplay(*this, 0); }

void MainWindow::menu_kasi_touroku_Click() {
    if (lyricsEditorOpen == 1) {
        services.dialogs.message("編集中の歌詞データがあります");
        return;
    }
    QPointer<LyricsEditor> editor = lyricsEditor(*this);
    editor->Text1->clear();
    PrepareLyricsEditor();
    lyricsEditorOpen = 1;
    // The editor opens also when the song path was refused: the user sees why.
    if (!editor) return;
    placeBesideMainWindow(editor, this, kEditorDownTwips);
    editor->show();
}

void MainWindow::PrepareLyricsEditor() {
    LyricsEditor* editor = lyricsEditor(*this);
    lyricsEditTarget = Label2->text().toStdString();
    editor->Label2->setText(QString::fromStdString(lyricsEditTarget));
    const std::optional<std::string> stem = lyricsStem(lyricsEditTarget);
    if (!stem) {
        services.dialogs.message("曲名を確認してください" + editor->Label2->text());
        return;
    }
    lyricsEditTarget = *stem;
    // No lyrics file yet: the editor starts empty, without a message.
    if (const std::optional<std::string> text = readLyricsText(*stem + ".txt")) {
        editor->setLyrics(*text);
    }
}

}  // namespace melvo
