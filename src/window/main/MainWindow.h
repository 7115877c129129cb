// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The main window: it lays out every control and menu item of the jukebox in
// its designed place and builds the panels that connect them to the player
// core. It keeps the buttons' enabled states and colours, drawn from the
// core's control state and signals, and runs start-up and exit.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "core/jukebox/Jukebox.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSlider;
class QTreeView;

namespace melvo {

class Dialogs;
class DesktopLauncher;
class LyricsPanel;
class ReadOut;
class SongListPanel;
class TagScanner;
class TransportPanel;
class VersionWindow;
class VolumePanel;

// The platform services the window works through; tests hand in doubles.
struct Services {
    Dialogs& dialogs;
    MediaEngine& media;
    Mixer& mixer;
    DesktopLauncher& launcher;
};

enum class ButtonColour { Normal, Highlight };

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // dataFolder holds the settings, the song list and nothing else.
    MainWindow(const QString& dataFolder, Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The player core every control drives.
    Jukebox& jukebox;

    // Ends the process at once once the exit steps have run; tests replace it.
    std::function<void()> endProgram;

    // ---- Start-up and exit ----
    // False when the program must not run: the song list file is too large
    // (the user was told; nothing was written).
    bool startUp();
    void exitProgram();
    bool exitStarted() const { return exitStarted_; }
    // Shows the window, also when minimized, in front of the others.
    void bringToFront();

    // ---- Button colours ----
    static void setBackColour(QPushButton* button, ButtonColour colour);
    static ButtonColour backColour(const QPushButton* button);
    // Lights the button for a second while everything else goes on.
    static void lightForASecond(QPushButton* button);

    // ---- Help menu and version window ----
    void onInstructionsMenuItemTriggered();
    void onHomePageMenuItemTriggered();
    void onVersionMenuItemTriggered();

    // ---- Controls, in the window's own order ----
    QCheckBox* randomOrderBox;
    QPushButton* showLyricsButton;
    QSlider* volumeSlider;
    QPushButton* previousSongButton;
    QPushButton* nextSongButton;
    QPushButton* autoPlayButton;
    QTreeView* songListView;
    QPushButton* exitButton;
    QPushButton* deleteSongButton;
    QPushButton* addSongButton;
    QPushButton* resumeButton;
    QCheckBox* repeatBox;
    QPushButton* stopButton;
    QPushButton* pauseButton;
    QPushButton* playButton;
    QScrollBar* positionBar;
    QLabel* volumeCaptionLabel;
    QLabel* songPathLabel;
    QLabel* songCaptionLabel;
    ReadOut* playModeLabel;
    ReadOut* positionLabel;
    ReadOut* lengthLabel;

    // ---- Menu items ----
    QAction* addFolderMenuItem;
    QAction* readPlaylistMenuItem;
    QAction* writePlaylistMenuItem;
    QAction* manualPlayMenuItem;
    QAction* autoPlayMenuItem;
    QAction* initialVolumeMenuItem;
    QAction* showLyricsMenuItem;
    QAction* hideLyricsMenuItem;
    QAction* automaticTagEncodingMenuItem;
    QAction* shiftJisTagEncodingMenuItem;
    QAction* latin1TagEncodingMenuItem;
    QAction* songNoticeMenuItem;
    QAction* instructionsMenuItem;
    QAction* homePageMenuItem;
    QAction* versionMenuItem;
    QAction* registerLyricsMenuItem;

    // ---- Panels ----
    // Reads the songs' tags for the list, through the tag cache.
    TagScanner* tagScanner;
    TransportPanel* transportPanel;
    SongListPanel* songListPanel;
    VolumePanel* volumePanel;
    LyricsPanel* lyricsPanel;

    QPointer<VersionWindow> versionWindow;
    Services services;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void buildPanels();
    void connectAutoPlay();
    void connectTagEncoding();
    void showTagEncoding(TagEncoding encoding);
    void readTagsIn(TagEncoding encoding);
    void followControlState();
    void applyControls(const ControlState& controls);
    void showStepColours(ControlState::Step step);
    void showPausedColours();
    void showResumedColours();
    void showSongEndedColours();
    void showPlayMode(bool on);

    void restorePlaces();
    void storePlaces() const;
    void addKeys();
    void onSpaceKey();

    QString dataFolder_;
    bool exitStarted_ = false;
    QSize designedSize_;
    QRect designedListPlace_;
    int designedBottomRowTop_ = 0;
};

}  // namespace melvo
