// The named control-state sets: which buttons are enabled and which transport
// button is highlighted, switched as one group.
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include "app/MainWindow.h"

namespace melvo {

namespace {

const QColor kHighlight(255, 255, 0);

void colour(std::initializer_list<QPushButton*> buttons, ButtonColour colour) {
    for (QPushButton* button : buttons) MainWindow::setBackColour(button, colour);
}

}  // namespace

void MainWindow::setBackColour(QPushButton* button, ButtonColour colour) {
    if (colour == ButtonColour::Highlight) {
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, kHighlight);
        button->setPalette(palette);
    } else {
        button->setPalette(QPalette());  // back to the system's button face
    }
}

ButtonColour MainWindow::backColour(const QPushButton* button) {
    return button->palette().color(QPalette::Button) == kHighlight ? ButtonColour::Highlight
                                                                   : ButtonColour::Normal;
}

void MainWindow::lightForASecond(QPushButton* button) {
    setBackColour(button, ButtonColour::Highlight);
    QTimer::singleShot(1000, button, [button] { setBackColour(button, ButtonColour::Normal); });
}

void MainWindow::setTransportEnabled(bool play, bool pause, bool resume, bool stop) {
    playButton->setEnabled(play);
    pauseButton->setEnabled(pause);
    resumeButton->setEnabled(resume);
    stopButton->setEnabled(stop);
}

void MainWindow::showNoSongsControls() {
    setTransportEnabled(false, false, false, false);
    addSongButton->setEnabled(true);
    for (QPushButton* button :
         {deleteSongButton, autoPlayButton, nextSongButton, previousSongButton})
        button->setEnabled(false);
}

void MainWindow::showManualIdleControls() {
    setTransportEnabled(true, true, true, true);
    addSongButton->setEnabled(true);
    deleteSongButton->setEnabled(true);
    colour({autoPlayButton}, ButtonColour::Normal);
}

void MainWindow::showAutoIdleControls() {
    setTransportEnabled(false, false, false, true);
    addSongButton->setEnabled(false);
    deleteSongButton->setEnabled(false);
    colour({autoPlayButton}, ButtonColour::Highlight);
}

void MainWindow::showPlayingControls() {
    colour({stopButton, pauseButton, resumeButton}, ButtonColour::Normal);
    colour({playButton}, ButtonColour::Highlight);
    addSongButton->setEnabled(false);
    deleteSongButton->setEnabled(false);
    pauseButton->setEnabled(true);
    resumeButton->setEnabled(true);
}

void MainWindow::showStoppedControls() {
    colour({stopButton}, ButtonColour::Highlight);
    colour({autoPlayButton, pauseButton, resumeButton, playButton}, ButtonColour::Normal);
    setTransportEnabled(true, false, false, true);
    addSongButton->setEnabled(true);
    deleteSongButton->setEnabled(true);
    autoPlayButton->setEnabled(true);
}

void MainWindow::showPausedColours() {
    colour({pauseButton}, ButtonColour::Highlight);
    colour({stopButton, autoPlayButton, resumeButton, playButton}, ButtonColour::Normal);
}

// resumeButton goes back to the normal colour a second later (lightForASecond).
void MainWindow::showResumedColours() {
    colour({resumeButton, playButton}, ButtonColour::Highlight);
    colour({stopButton, pauseButton}, ButtonColour::Normal);
    colour({autoPlayButton}, jukebox.autoPlayOn() ? ButtonColour::Highlight : ButtonColour::Normal);
}

void MainWindow::showSongEndedColours() {
    colour({stopButton}, ButtonColour::Highlight);
    colour({pauseButton, resumeButton, playButton}, ButtonColour::Normal);
}

void MainWindow::showAutoPlayingControls() {
    colour({autoPlayButton, playButton}, ButtonColour::Highlight);
    colour({stopButton, pauseButton, resumeButton}, ButtonColour::Normal);
    setTransportEnabled(false, true, true, true);
    addSongButton->setEnabled(false);
    deleteSongButton->setEnabled(false);
}

void MainWindow::showSongAddedControls() {
    setTransportEnabled(true, false, false, true);
    colour({stopButton}, ButtonColour::Highlight);
    for (QPushButton* button :
         {autoPlayButton, nextSongButton, previousSongButton, deleteSongButton})
        button->setEnabled(true);
}

void MainWindow::showSongDeletedControls() {
    setTransportEnabled(false, false, false, true);
    colour({stopButton}, ButtonColour::Highlight);
    for (QPushButton* button :
         {autoPlayButton, nextSongButton, previousSongButton, deleteSongButton})
        button->setEnabled(false);
    addSongButton->setEnabled(true);
}

}  // namespace melvo
