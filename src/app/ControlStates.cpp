// The named control-state sets: which buttons are enabled, which transport
// button is highlighted, and which timers run, switched as one group.
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include "app/MainWindow.h"
#include "common/Numbers.h"

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
    autoPlayTimer->stop();
}

void MainWindow::showManualIdleControls() {
    setTransportEnabled(true, true, true, true);
    addSongButton->setEnabled(true);
    deleteSongButton->setEnabled(true);
    colour({autoPlayButton}, ButtonColour::Normal);
    autoPlayTimer->stop();
}

void MainWindow::showAutoIdleControls() {
    setTransportEnabled(false, false, false, true);
    addSongButton->setEnabled(false);
    deleteSongButton->setEnabled(false);
    colour({autoPlayButton}, ButtonColour::Highlight);
    autoPlayTimer->start();
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
    autoPlayTimer->stop();
    positionTimer->stop();
}

void MainWindow::showPausedColours() {
    colour({pauseButton}, ButtonColour::Highlight);
    colour({stopButton, autoPlayButton, resumeButton, playButton}, ButtonColour::Normal);
}

// resumeButton goes back to the normal colour one second later, in onResumeButtonClicked.
void MainWindow::showResumedColours() {
    colour({resumeButton, playButton}, ButtonColour::Highlight);
    colour({stopButton, pauseButton}, ButtonColour::Normal);
    const bool automatic = leadingNumber(autoPlayMode) == 1;
    colour({autoPlayButton}, automatic ? ButtonColour::Highlight : ButtonColour::Normal);
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
    autoPlayTimer->start();
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
