// Start-up and exit of the main window.
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QTreeView>

#include "app/MainWindow.h"
#include "common/TextFile.h"
#include "library/SongListPanel.h"
#include "lyrics/LyricsPanel.h"
#include "volume/VolumePanel.h"

namespace melvo {

// Reads the settings and the song list and sets the controls. The timers
// start only at its end, so nothing plays or pops up behind a start-up message.
void MainWindow::startUp() {
    // Temporary files of a save that was cut short (a kill, a power cut).
    removeLeftoverTemporaryFiles(dataFolder_.toStdString());
    volumePanel->openMixer();
    lyricsPanel->loadSettings();

    jukebox.loadSettings();
    randomOrderBox->setChecked(jukebox.autoPlay().randomOrder());
    volumePanel->showInitialVolume();

    songListPanel->loadSongList();
    if (jukebox.songList().count() > 0) {
        showPlayMode(jukebox.autoPlay().isOn());
        songListView->setAllColumnsShowFocus(true);
    }
    jukebox.begin();
}

void MainWindow::exitProgram() {
    if (exitStarted_) return;
    exitStarted_ = true;

    jukebox.finishPlaying();
    if (!songListPanel->saveSongList()) {
        exitStarted_ = false;  // the user chose to stay so the song list is not lost
        return;
    }
    jukebox.closeMixer();
    endProgram();
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
