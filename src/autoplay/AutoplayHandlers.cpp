// Automatic play in the window: the play-mode menu, next and previous, the
// automatic-play button and the notice of an empty song list.
#include <QAction>
#include <QPushButton>
#include <QTimer>

#include "app/Dialogs.h"
#include "app/MainWindow.h"

namespace melvo {

void MainWindow::onAutoPlayButtonClicked() { jukebox.startAutoPlay(); }

void MainWindow::onNextSongButtonClicked() { jukebox.next(); }

void MainWindow::onPreviousSongButtonClicked() { jukebox.previous(); }

void MainWindow::onAutoPlayMenuItemTriggered() {
    manualPlayMenuItem->setChecked(false);
    autoPlayMenuItem->setChecked(true);
    jukebox.setAutoPlayMode(true);
}

void MainWindow::onManualPlayMenuItemTriggered() {
    manualPlayMenuItem->setChecked(true);
    autoPlayMenuItem->setChecked(false);
    jukebox.setAutoPlayMode(false);
}

// Tells once per run that the song list file held no songs. The timer stops
// before the box opens so that ticks meanwhile show nothing more.
void MainWindow::onNoSongsNoticeTimerTick() {
    if (jukebox.noSongsNotice != 1) return;
    noSongsNoticeTimer->stop();
    jukebox.noSongsNotice = 0;
    services.dialogs.message("音楽登録が一曲もされていませんので登録してください");
}

// The next and previous buttons stay lit for a second.
void MainWindow::followAutoPlay() {
    connect(&jukebox, &Jukebox::songSkipping, this, [this](bool forward) {
        lightForASecond(forward ? nextSongButton : previousSongButton);
    });
    connect(&jukebox, &Jukebox::autoPlayStarted, this, &MainWindow::showAutoPlayingControls);
}

}  // namespace melvo
