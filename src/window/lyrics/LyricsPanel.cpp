// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/lyrics/LyricsPanel.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/common/FileNames.h"
#include "core/common/Numbers.h"
#include "core/jukebox/Jukebox.h"
#include "core/lyrics/LyricsFile.h"
#include "core/lyrics/SongLyrics.h"
#include "core/settings/Settings.h"
#include "window/common/Dialogs.h"
#include "window/common/WindowPlaces.h"
#include "window/lyrics/LyricsEditor.h"
#include "window/lyrics/LyricsWindow.h"

namespace melvo {

namespace {

// How far below the main window's top the two windows open: the editor at the
// top, the lyrics window a little lower, both to the right of the main window.
constexpr int kEditorDownTwips = 0;
constexpr int kLyricsWindowDownTwips = 165;
constexpr const char* kLyricsWindowKey = "LYRICS";

}  // namespace

LyricsPanel::LyricsPanel(Controls controls, QWidget* owner, Jukebox& jukebox, Dialogs& dialogs)
    : QObject(owner), c_(controls), owner_(owner), jukebox_(jukebox), dialogs_(dialogs) {
    setObjectName(QStringLiteral("lyricsPanel"));
    connect(c_.showLyricsButton, &QPushButton::clicked, this, &LyricsPanel::showLyricsOnRequest);
    connect(c_.showLyricsMenuItem, &QAction::triggered, this,
            &LyricsPanel::onShowLyricsMenuItemTriggered);
    connect(c_.hideLyricsMenuItem, &QAction::triggered, this,
            &LyricsPanel::onHideLyricsMenuItemTriggered);
    connect(c_.registerLyricsMenuItem, &QAction::triggered, this,
            &LyricsPanel::onRegisterLyricsMenuItemTriggered);
    connect(&jukebox_, &Jukebox::playRequested, this, &LyricsPanel::showLyricsForCurrentSong);
}

// lyricsDisplay only tells on from off; values beyond 16 bits count as on.
void LyricsPanel::loadSettings() {
    lyricsDisplaySetting = readSettingOr("KASI_DISPLAY", jukebox_.settingsPath(), "0");
    lyricsDisplay = leadingNumber(lyricsDisplaySetting) != 0 ? 1 : 0;
    c_.showLyricsMenuItem->setChecked(lyricsDisplaySetting != "0");
    c_.hideLyricsMenuItem->setChecked(lyricsDisplaySetting == "0");
}

LyricsWindow* LyricsPanel::ensureLyricsWindow() {
    if (!lyricsWindow) {
        lyricsWindow = new LyricsWindow(owner_, jukebox_);
        connect(lyricsWindow, &LyricsWindow::closing, this, [this] {
            storePlace();
            lyricsWindow = nullptr;
        });
    }
    return lyricsWindow;
}

LyricsEditor* LyricsPanel::ensureLyricsEditor() {
    if (!lyricsEditor) {
        lyricsEditor = new LyricsEditor(owner_, jukebox_, dialogs_);
        connect(lyricsEditor, &LyricsEditor::closing, this, [this] {
            lyricsEditorOpen = 0;
            lyricsEditor = nullptr;
        });
    }
    return lyricsEditor;
}

void LyricsPanel::discardLyricsWindow() {
    if (lyricsWindow) lyricsWindow->close();
}

void LyricsPanel::showLyricsForCurrentSong() {
    if (lyricsDisplay == 0) {
        discardLyricsWindow();
        return;
    }
    showLyrics(false);
}

void LyricsPanel::showLyricsOnRequest() { showLyrics(true); }

// Shows the chosen song's lyrics in the lyrics window. onRequest: the user
// asked for them, so a missing lyrics file is reported; otherwise it only
// closes the window.
void LyricsPanel::showLyrics(bool onRequest) {
    const std::string path = jukebox_.songList().chosenPath();
    LyricsWindow* window = ensureLyricsWindow();
    window->setWindowTitle(displayPath(lyricsTitleFor(path)));
    window->songPathLabel->setText(displayPath(path));

    if (!lyricsStem(path)) {
        // The window stays as it was: open with the new title over the old
        // lyrics, or hidden.
        dialogs_.message(
            QString(onRequest ? "曲名を確認してください　" : "曲名を確認してください") +
            window->songPathLabel->text());
        return;
    }
    const std::optional<SongLyrics> lyrics = readSongLyrics(path, jukebox_.tagEncoding());
    if (!lyrics) {
        if (onRequest)
            dialogs_.message("歌詞データが登録されていません　" + c_.songPathLabel->text());
        discardLyricsWindow();
        return;
    }
    window->setLyrics(lyrics->lyrics.text, path);
    if (!window->isVisible()) place(window);
    window->show();
}

// Where the user left the window last, when that is on a screen now; else
// beside the main window.
void LyricsPanel::place(LyricsWindow* window) const {
    if (const std::optional<QRect> place = readPlace(jukebox_.settingsPath(), kLyricsWindowKey)) {
        window->setGeometry(*place);
    } else {
        placeBesideMainWindow(window, owner_, kLyricsWindowDownTwips);
    }
}

void LyricsPanel::storePlace() const {
    if (lyricsWindow && lyricsWindow->isVisible())
        writePlace(jukebox_.settingsPath(), kLyricsWindowKey, lyricsWindow->geometry());
}

void LyricsPanel::storeLyricsDisplay(int display) {
    c_.showLyricsMenuItem->setChecked(display != 0);
    c_.hideLyricsMenuItem->setChecked(display == 0);
    lyricsDisplay = display;
    lyricsDisplaySetting = display != 0 ? "1" : "0";
    writeSetting(lyricsDisplaySetting, "KASI_DISPLAY", kSettingsSection, jukebox_.settingsPath());
}

void LyricsPanel::onRegisterLyricsMenuItemTriggered() {
    if (lyricsEditorOpen == 1) {
        dialogs_.message("編集中の歌詞データがあります");
        return;
    }
    QPointer<LyricsEditor> editor = ensureLyricsEditor();
    editor->lyricsBox->clear();
    if (!prepareLyricsEditor()) {
        editor->close();  // saving part of the lyrics would lose the rest
        return;
    }
    lyricsEditorOpen = 1;
    // The editor opens also when the song path was refused: the user sees why.
    if (!editor) return;
    placeBesideMainWindow(editor, owner_, kEditorDownTwips);
    editor->show();
}

bool LyricsPanel::prepareLyricsEditor() {
    LyricsEditor* editor = ensureLyricsEditor();
    const std::string songPath = jukebox_.songList().chosenPath();
    editor->setTarget(songPath);
    editor->songPathLabel->setText(displayPath(songPath));
    const std::optional<std::string> stem = lyricsStem(songPath);
    if (!stem) {
        dialogs_.message("曲名を確認してください" + editor->songPathLabel->text());
        return true;
    }
    editor->setTarget(*stem);
    // The editor starts from the lyrics the lyrics window shows, tags and all,
    // and registers them as the lyrics file; with none it starts empty,
    // without a message.
    const std::optional<SongLyrics> lyrics = readSongLyrics(songPath, jukebox_.tagEncoding());
    if (lyrics && lyrics->lyrics.cut) {
        dialogs_.message(kLyricsTooLongToEdit +
                         displayPath(lyricsSourcePath(songPath, lyrics->source)));
        return false;
    }
    if (lyrics) editor->setLyrics(lyrics->lyrics.text);
    return true;
}

}  // namespace melvo
