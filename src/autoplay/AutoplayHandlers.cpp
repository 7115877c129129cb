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

void MainWindow::SelectNextAutoPlaySong() {
    std::vector<bool> played(static_cast<size_t>(songRows->rowCount()));
    for (int row = 0; row < songRows->rowCount(); ++row) played[row] = songRows->isPlayed(row);
    const NextSong next =
        ChooseNextSong(played, Check1->isChecked(), playingItemIndex - 1, randomGenerator);
    if (next.clearedMarks) songRows->clearPlayed();
    List1.setCurrent(next.index);
}

void MainWindow::Command4_Click() {
    cmdStop_Click();
    autoPlayMode = "1";
    Timer2->start();
    AutoPlayingControls();
    List1.setCurrent(0);
    SelectNextAutoPlaySong();
    autoPlayStarted = 0;
}

namespace {

// The entry after current, or the first after the last (also when none is current).
int followingEntry(int current, int count) { return current < count - 1 ? current + 1 : 0; }

// The entry before current, or the last before the first (also when none is current).
int precedingEntry(int current, int count) { return current > 0 ? current - 1 : count - 1; }

}  // namespace

void MainWindow::Command5_Click() { StepToSong(Command5, followingEntry); }

void MainWindow::Command6_Click() { StepToSong(Command6, precedingEntry); }

// Plays the song that step chooses from the current entry, keeping button
// highlighted for a second while window events go on.
void MainWindow::StepToSong(QPushButton* button, int (*step)(int current, int count)) {
    setBackColour(button, ButtonColour::Highlight);
    CloseSong(currentSongPath);
    List1.setCurrent(step(List1.current(), List1.count()));
    ApplySongVolume();
    currentSongPath = Label2->text().toStdString();
    ShowSongLength(currentSongPath);
    cmdPlay_Click();
    WaitSeconds(1);
    setBackColour(button, ButtonColour::Normal);
}

void MainWindow::f1_menu_auto_on_Click() {
    autoPlayMode = "1";
    f1_menu_manual->setChecked(false);
    f1_menu_auto_on->setChecked(true);
    WriteSetting(autoPlayMode, "AUTO", kSettingsSection, settingsPath());
}

void MainWindow::f1_menu_manual_Click() {
    autoPlayMode = "0";
    f1_menu_manual->setChecked(true);
    f1_menu_auto_on->setChecked(false);
    WriteSetting(autoPlayMode, "AUTO", kSettingsSection, settingsPath());
}

// Starts the first song when automatic play is armed, and the next one when the
// playing song has ended or its device was closed. A paused song is never replaced.
void MainWindow::Timer2_Timer() {
    if (!autoPlayOn()) return;
    if (autoPlayStarted == 0) {
        SelectNextAutoPlaySong();
        ApplySongVolume();
        currentSongPath = Label2->text().toStdString();
        cmdPlay_Click();
        autoPlayStarted = 1;
        return;
    }
    const std::string mode = GetPlayMode(currentSongPath);
    if (mode != "STOPPED" && !mode.empty()) return;
    CloseSong(currentSongPath);
    SelectNextAutoPlaySong();
    ApplySongVolume();
    currentSongPath = Label2->text().toStdString();
    ShowSongLength(currentSongPath);
    cmdPlay_Click();
}

// Tells once per run that the song list file held no songs. The timer stops
// before the box opens so that ticks meanwhile show nothing more.
void MainWindow::Timer3_Timer() {
    if (noSongsNotice != 1) return;
    Timer3->stop();
    noSongsNotice = 0;
    services.dialogs.message("音楽登録が一曲もされていませんので登録してください");
}

}  // namespace melvo
