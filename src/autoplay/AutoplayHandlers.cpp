// Automatic play: the play modes, next and previous, and the supervising timers.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "autoplay/NextSong.h"
#include "library/SongListModel.h"
#include "playback/Wait.h"
#include "settings/Settings.h"

namespace melvo {

void MainWindow::selectNextAutoPlaySong() {
    std::vector<bool> played(static_cast<size_t>(songRows->rowCount()));
    for (int row = 0; row < songRows->rowCount(); ++row) played[row] = songRows->isPlayed(row);
    const NextSong next =
        chooseNextSong(played, randomOrderBox->isChecked(), playingItemIndex - 1, randomGenerator);
    if (next.clearedMarks) songRows->clearPlayed();
    songEntries.setCurrent(next.index);
}

void MainWindow::onAutoPlayButtonClicked() {
    onStopButtonClicked();
    autoPlayMode = "1";
    autoPlayTimer->start();
    showAutoPlayingControls();
    songEntries.setCurrent(0);
    selectNextAutoPlaySong();
    autoPlayStarted = 0;
}

namespace {

// The entry after current, or the first after the last (also when none is current).
int followingEntry(int current, int count) { return current < count - 1 ? current + 1 : 0; }

// The entry before current, or the last before the first (also when none is current).
int precedingEntry(int current, int count) { return current > 0 ? current - 1 : count - 1; }

}  // namespace

void MainWindow::onNextSongButtonClicked() { stepToSong(nextSongButton, followingEntry); }

void MainWindow::onPreviousSongButtonClicked() { stepToSong(previousSongButton, precedingEntry); }

// Plays the song that step chooses from the current entry, keeping button
// highlighted for a second while window events go on.
void MainWindow::stepToSong(QPushButton* button, int (*step)(int current, int count)) {
    setBackColour(button, ButtonColour::Highlight);
    closeSong(currentSongPath);
    songEntries.setCurrent(step(songEntries.current(), songEntries.count()));
    applySongVolume();
    currentSongPath = songPathLabel->text().toStdString();
    showSongLength(currentSongPath);
    onPlayButtonClicked();
    waitSeconds(1);
    setBackColour(button, ButtonColour::Normal);
}

void MainWindow::onAutoPlayMenuItemTriggered() {
    autoPlayMode = "1";
    manualPlayMenuItem->setChecked(false);
    autoPlayMenuItem->setChecked(true);
    writeSetting(autoPlayMode, "AUTO", kSettingsSection, settingsPath());
}

void MainWindow::onManualPlayMenuItemTriggered() {
    autoPlayMode = "0";
    manualPlayMenuItem->setChecked(true);
    autoPlayMenuItem->setChecked(false);
    writeSetting(autoPlayMode, "AUTO", kSettingsSection, settingsPath());
}

// Starts the first song when automatic play is armed, and the next one when the
// playing song has ended or its device was closed. A paused song is never replaced.
void MainWindow::onAutoPlayTimerTick() {
    if (!autoPlayOn()) return;
    if (autoPlayStarted == 0) {
        selectNextAutoPlaySong();
        applySongVolume();
        currentSongPath = songPathLabel->text().toStdString();
        onPlayButtonClicked();
        autoPlayStarted = 1;
        return;
    }
    const std::string mode = playMode(currentSongPath);
    if (mode != "STOPPED" && !mode.empty()) return;
    closeSong(currentSongPath);
    selectNextAutoPlaySong();
    applySongVolume();
    currentSongPath = songPathLabel->text().toStdString();
    showSongLength(currentSongPath);
    onPlayButtonClicked();
}

// Tells once per run that the song list file held no songs. The timer stops
// before the box opens so that ticks meanwhile show nothing more.
void MainWindow::onNoSongsNoticeTimerTick() {
    if (noSongsNotice != 1) return;
    noSongsNoticeTimer->stop();
    noSongsNotice = 0;
    services.dialogs.message("音楽登録が一曲もされていませんので登録してください");
}

}  // namespace melvo
