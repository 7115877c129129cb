// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The lyrics panel: the show-lyrics button and menu items, the lyrics window
// that follows the chosen song, and the lyrics editor. Whether lyrics show at
// each song start is its setting "KASI_DISPLAY".
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

class QAction;
class QLabel;
class QPushButton;
class QWidget;

namespace melvo {

class Dialogs;
class Jukebox;
class LyricsEditor;
class LyricsWindow;

class LyricsPanel : public QObject {
    Q_OBJECT

  public:
    struct Controls {
        QPushButton* showLyricsButton;
        QAction* showLyricsMenuItem;
        QAction* hideLyricsMenuItem;
        QAction* registerLyricsMenuItem;
        QLabel* songPathLabel;  // the main window's chosen song
    };

    // owner: the main window, beside which the two windows open.
    LyricsPanel(Controls controls, QWidget* owner, Jukebox& jukebox, Dialogs& dialogs);

    // Reads "KASI_DISPLAY" and ticks the menu item that says it.
    void loadSettings();
    // A song starts: its lyrics show when the setting says so.
    void showLyricsForCurrentSong();
    // The user asked for the chosen song's lyrics: a missing file is told.
    void showLyricsOnRequest();
    void onShowLyricsMenuItemTriggered() { storeLyricsDisplay(1); }
    void onHideLyricsMenuItemTriggered() { storeLyricsDisplay(0); }
    void onRegisterLyricsMenuItemTriggered();
    // Keeps where the lyrics window is, while it shows, for the next run.
    void storePlace() const;

    QPointer<LyricsWindow> lyricsWindow;
    QPointer<LyricsEditor> lyricsEditor;
    std::string lyricsDisplaySetting = "0";
    int lyricsDisplay = 0;
    int lyricsEditorOpen = 0;

  private:
    LyricsWindow* ensureLyricsWindow();
    LyricsEditor* ensureLyricsEditor();
    void discardLyricsWindow();
    void place(LyricsWindow* window) const;
    void showLyrics(bool onRequest);
    void storeLyricsDisplay(int display);
    // Loads the chosen song's lyrics into the editor; false when they are too
    // long to edit whole, which the user is told.
    bool prepareLyricsEditor();

    Controls c_;
    QWidget* owner_;
    Jukebox& jukebox_;
    Dialogs& dialogs_;
};

}  // namespace melvo
