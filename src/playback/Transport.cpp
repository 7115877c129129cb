// The transport panel: play, pause, resume, stop, the position bar, the three
// read-outs and the repeat box, with the 100 ms timer that keeps the read-outs
// current and notices the end of a song.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "common/Numbers.h"
#include "library/SongListModel.h"
#include "playback/Wait.h"

namespace melvo {

namespace {

void showSeconds(QLabel* label, double seconds) {
    label->setText(QString::fromStdString(formatTenths(seconds)));
}

}  // namespace

void MainWindow::showSongLength(const std::string& path) {
    showSeconds(lengthLabel, songLength(path));
    // Lowering the maximum may move the bar, which seeks on a path not yet
    // open; that seek fails and the song starts from its beginning in onPlayButtonClicked.
    positionBar->setMaximum(leadingWholeNumber(lengthLabel->text().toStdString()));
}

// Plays the song whose path songPathLabel shows; every other way of starting a song
// ends up here.
void MainWindow::onPlayButtonClicked() {
    showLyricsForCurrentSong();
    showPlayingControls();
    currentSongPath = songPathLabel->text().toStdString();
    if (currentSongPath.empty()) {
        services.dialogs.message(QStringLiteral("演奏曲を選択指示してください"));
        setBackColour(playButton, ButtonColour::Normal);
        return;
    }

    // The length query opens and closes the path, so a song that is playing
    // stops here and starts again from the beginning below.
    showSongLength(currentSongPath);

    closeSong(lastOpenedPath);
    openAndPlay(currentSongPath);
    lastOpenedPath = currentSongPath;
    positionTimer->start();

    const int row = songEntries.current() + 1;  // 1-based; 0 when no entry is selected
    if (row < 1 || row > songRows->rowCount()) return;
    songRows->setPlayed(row - 1, true);
    songRows->markPlaying(row - 1);
    playingItemIndex = row;
    selectRow(row - 1);
    scrollToSelectedSong();
}

void MainWindow::onPauseButtonClicked() {
    showPausedColours();
    isPaused = 1;
    pauseSong(currentSongPath);
}

// Only a pause is resumed. The resume button stays highlighted for a second,
// during which other events (timer ticks, clicks) are handled.
void MainWindow::onResumeButtonClicked() {
    if (isPaused == 0) return;
    isPaused = 0;
    showResumedColours();
    resumeSong(currentSongPath);
    waitSeconds(1.0);
    setBackColour(resumeButton, ButtonColour::Normal);
}

void MainWindow::onStopButtonClicked() {
    autoPlayTimer->stop();
    showStoppedControls();
    closeSong(currentSongPath);
    autoPlayMode = "0";
    positionTimer->stop();
    onPositionTimerTick();  // shows the closed state: "0.0", the bar at 0, no mode
}

void MainWindow::onPositionTimerTick() {
    const double position = songPosition(currentSongPath);
    showSeconds(positionLabel, position);

    positionUpdating = -1;  // this move of the bar is no seek
    if (position >= positionBar->maximum()) {
        positionBar->setValue(positionBar->maximum());
    } else {
        positionBar->setValue(roundHalfEven(position));
    }
    positionUpdating = 0;

    const std::string mode = playMode(currentSongPath);
    playModeLabel->setText(QString::fromStdString(mode));
    if (mode != "STOPPED") return;
    // The close takes the playing mark off the row; a restart does not put it back.
    closeSong(currentSongPath);
    if (repeatBox->isChecked()) {
        if (openAndPlay(currentSongPath)) return;
        // A song that cannot start again (its file gone, no sound output)
        // ends here instead of being retried at every tick.
        closeSong(currentSongPath);
    }
    showSongEndedColours();
}

// The user moved the bar: the song goes on from that second, and plays even
// when it was paused.
void MainWindow::onPositionBarChanged() {
    if (positionUpdating != 0) return;
    seekAndPlay(currentSongPath, positionBar->value());
}

}  // namespace melvo
