// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Start-up and exit of the main window.
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QTreeView>
#include <algorithm>

#include "core/common/TextFile.h"
#include "core/tags/TagScanner.h"
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
    if (!tagScanner->hasReading()) readTagsIn(jukebox.tagEncoding());
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
// 1 for each column shown, 0 for each hidden, in the columns' own order.
constexpr const char* kShownColumnsKey = "SHOWN_COLUMNS";

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
    const std::vector<int> shown = readPlaceNumbers(settings, kShownColumnsKey);
    // A stored choice that hides every column is no choice.
    if (std::count(shown.begin(), shown.end(), 0) < SongListModel::ColumnCount) {
        for (int column = 0; column < static_cast<int>(shown.size()); ++column)
            songListView->setColumnHidden(column, shown[column] == 0);
    }
}

void MainWindow::storePlaces() const {
    const std::string settings = jukebox.settingsPath();
    writePlace(settings, kMainWindowKey, normalGeometry());
    writePlaceNumbers(settings, kMaximizedKey, {isMaximized() ? 1 : 0});
    // A hidden column has no width of its own: the one stored stays for it.
    const std::vector<int> stored = readPlaceNumbers(settings, kColumnsKey);
    std::vector<int> widths;
    std::vector<int> shown;
    for (int column = 0; column < SongListModel::ColumnCount; ++column) {
        const bool hidden = songListView->isColumnHidden(column);
        const int storedWidth = column < static_cast<int>(stored.size()) ? stored[column] : 0;
        widths.push_back(hidden ? storedWidth : songListView->columnWidth(column));
        shown.push_back(hidden ? 0 : 1);
    }
    writePlaceNumbers(settings, kColumnsKey, widths);
    writePlaceNumbers(settings, kShownColumnsKey, shown);
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
