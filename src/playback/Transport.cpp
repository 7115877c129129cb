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

void MainWindow::ShowSongLength(const std::string& path) {
    showSeconds(lblLength, GetSongLength(path));
    // Lowering the maximum may move the bar, which seeks on a path not yet
    // open; that seek fails and the song starts from its beginning in cmdPlay_Click.
    HScroll1->setMaximum(leadingWholeNumber(lblLength->text().toStdString()));
}

// Plays the song whose path Label2 shows; every other way of starting a song
// ends up here.
void MainWindow::cmdPlay_Click() {
    ShowLyricsForCurrentSong();
    PlayingControls();
    currentSongPath = Label2->text().toStdString();
    if (currentSongPath.empty()) {
        services.dialogs.message(QStringLiteral("演奏曲を選択指示してください"));
        setBackColour(cmdPlay, ButtonColour::Normal);
        return;
    }

    // The length query opens and closes the path, so a song that is playing
    // stops here and starts again from the beginning below.
    ShowSongLength(currentSongPath);

    CloseSong(lastOpenedPath);
    OpenAndPlay(currentSongPath);
    lastOpenedPath = currentSongPath;
    Timer1->start();

    const int row = List1.current() + 1;  // 1-based; 0 when no entry is selected
    if (row < 1 || row > songRows->rowCount()) return;
    songRows->setPlayed(row - 1, true);
    songRows->markPlaying(row - 1);
    playingItemIndex = row;
    selectRow(row - 1);
    ScrollToSelectedSong();
}

void MainWindow::cmdPause_Click() {
    PausedColours();
    isPaused = 1;
    PauseSong(currentSongPath);
}

// Only a pause is resumed. The resume button stays highlighted for a second,
// during which other events (timer ticks, clicks) are handled.
void MainWindow::cmdResume_Click() {
    if (isPaused == 0) return;
    isPaused = 0;
    ResumedColours();
    ResumeSong(currentSongPath);
    WaitSeconds(1.0);
    setBackColour(cmdResume, ButtonColour::Normal);
}

void MainWindow::cmdStop_Click() {
    Timer2->stop();
    StoppedControls();
    CloseSong(currentSongPath);
    autoPlayMode = "0";
    Timer1->stop();
    Timer1_Timer();  // shows the closed state: "0.0", the bar at 0, no mode
}

void MainWindow::Timer1_Timer() {
    const double position = GetSongPosition(currentSongPath);
    showSeconds(lblPosition, position);

    positionUpdating = -1;  // this move of the bar is no seek
    if (position >= HScroll1->maximum()) {
        HScroll1->setValue(HScroll1->maximum());
    } else {
        HScroll1->setValue(roundHalfEven(position));
    }
    positionUpdating = 0;

    const std::string mode = GetPlayMode(currentSongPath);
    lblSoundStatus->setText(QString::fromStdString(mode));
    if (mode != "STOPPED") return;
    // The close takes the playing mark off the row; a restart does not put it back.
    CloseSong(currentSongPath);
    if (chkRepeat->isChecked()) {
        if (OpenAndPlay(currentSongPath)) return;
        // A song that cannot start again (its file gone, no sound output)
        // ends here instead of being retried at every tick.
        CloseSong(currentSongPath);
    }
    SongEndedColours();
}

// The user moved the bar: the song goes on from that second, and plays even
// when it was paused.
void MainWindow::HScroll1_Change() {
    if (positionUpdating != 0) return;
    SeekAndPlay(currentSongPath, HScroll1->value());
}

}  // namespace melvo
