// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Start-up and exit of the main window.
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QTreeView>

#include "core/common/TextFile.h"
#include "window/common/WindowPlaces.h"
#include "window/library/SongListModel.h"
#include "window/library/SongListPanel.h"
#include "window/lyrics/LyricsPanel.h"
#include "window/main/MainWindow.h"
#include "window/volume/VolumePanel.h"

namespace melvo {

// Reads the settings and the song list and sets the controls. The timers
// start only at its end, so nothing plays or pops up behind a start-up message.
bool MainWindow::startUp() {
    // Temporary files of a save that was cut short (a kill, a power cut).
    removeLeftoverTemporaryFiles(dataFolder_.toStdString());
    volumePanel->openMixer();
    lyricsPanel->loadSettings();
    restorePlaces();

    jukebox.loadSettings();
    randomOrderBox->setChecked(jukebox.autoPlay().randomOrder());
    showTagEncoding(jukebox.tagEncoding());
    songNoticeMenuItem->setChecked(jukebox.tellsSongStarts());
    volumePanel->showInitialVolume();

    if (!songListPanel->loadSongList()) {
        jukebox.closeMixer();
        return false;
    }
    if (jukebox.songList().count() > 0) {
        showPlayMode(jukebox.autoPlay().isOn());
        songListView->setAllColumnsShowFocus(true);
    }
    jukebox.begin();
    return true;
}

void MainWindow::exitProgram() {
    if (exitStarted_) return;
    exitStarted_ = true;

    jukebox.finishPlaying();
    storePlaces();
    lyricsPanel->storePlace();
    if (!songListPanel->saveSongList()) {
        exitStarted_ = false;  // the user chose to stay so the song list is not lost
        return;
    }
    jukebox.closeMixer();
    endProgram();
}

namespace {

constexpr const char* kMainWindowKey = "MAIN";
constexpr const char* kMaximizedKey = "MAXIMIZED";
constexpr const char* kColumnsKey = "COLUMNS";

}  // namespace

// The window comes back where it was, as large as it was, unless that place
// is on no screen now.
void MainWindow::restorePlaces() {
    const std::string settings = jukebox.settingsPath();
    if (const std::optional<QRect> place = readPlace(settings, kMainWindowKey)) setGeometry(*place);
    if (readPlaceNumbers(settings, kMaximizedKey) == std::vector<int>{1})
        setWindowState(windowState() | Qt::WindowMaximized);
    const std::vector<int> widths = readPlaceNumbers(settings, kColumnsKey);
    for (int column = 0; column < static_cast<int>(widths.size()); ++column)
        if (widths[column] > 0) songListView->setColumnWidth(column, widths[column]);
}

void MainWindow::storePlaces() const {
    const std::string settings = jukebox.settingsPath();
    writePlace(settings, kMainWindowKey, normalGeometry());
    writePlaceNumbers(settings, kMaximizedKey, {isMaximized() ? 1 : 0});
    std::vector<int> widths;
    for (int column = 0; column < SongListModel::ColumnCount; ++column)
        widths.push_back(songListView->columnWidth(column));
    writePlaceNumbers(settings, kColumnsKey, widths);
}

// Closing the window runs the exit steps; the window stays when the user chose
// not to exit after a failed save.
void MainWindow::closeEvent(QCloseEvent* event) {
    exitProgram();
    if (exitStarted_) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace melvo
