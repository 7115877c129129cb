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
    cmdPlay->setEnabled(play);
    cmdPause->setEnabled(pause);
    cmdResume->setEnabled(resume);
    cmdStop->setEnabled(stop);
}

void MainWindow::NoSongsControls() {
    setTransportEnabled(false, false, false, false);
    Command1->setEnabled(true);
    for (QPushButton* button : {Command2, Command4, Command5, Command6}) button->setEnabled(false);
    Timer2->stop();
}

void MainWindow::ManualIdleControls() {
    setTransportEnabled(true, true, true, true);
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    colour({Command4}, ButtonColour::Normal);
    Timer2->stop();
}

void MainWindow::AutoIdleControls() {
    setTransportEnabled(false, false, false, true);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    colour({Command4}, ButtonColour::Highlight);
    Timer2->start();
}

void MainWindow::PlayingControls() {
    colour({cmdStop, cmdPause, cmdResume}, ButtonColour::Normal);
    colour({cmdPlay}, ButtonColour::Highlight);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    cmdPause->setEnabled(true);
    cmdResume->setEnabled(true);
}

void MainWindow::StoppedControls() {
    colour({cmdStop}, ButtonColour::Highlight);
    colour({Command4, cmdPause, cmdResume, cmdPlay}, ButtonColour::Normal);
    setTransportEnabled(true, false, false, true);
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    Command4->setEnabled(true);
    Timer2->stop();
    Timer1->stop();
}

void MainWindow::PausedColours() {
    colour({cmdPause}, ButtonColour::Highlight);
    colour({cmdStop, Command4, cmdResume, cmdPlay}, ButtonColour::Normal);
}

// cmdResume goes back to the normal colour one second later, in cmdResume_Click.
void MainWindow::ResumedColours() {
    colour({cmdResume, cmdPlay}, ButtonColour::Highlight);
    colour({cmdStop, cmdPause}, ButtonColour::Normal);
    const bool automatic = leadingNumber(autoPlayMode) == 1;
    colour({Command4}, automatic ? ButtonColour::Highlight : ButtonColour::Normal);
}

void MainWindow::SongEndedColours() {
    colour({cmdStop}, ButtonColour::Highlight);
    colour({cmdPause, cmdResume, cmdPlay}, ButtonColour::Normal);
}

void MainWindow::AutoPlayingControls() {
    colour({Command4, cmdPlay}, ButtonColour::Highlight);
    colour({cmdStop, cmdPause, cmdResume}, ButtonColour::Normal);
    setTransportEnabled(false, true, true, true);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    Timer2->start();
}

void MainWindow::SongAddedControls() {
    setTransportEnabled(true, false, false, true);
    colour({cmdStop}, ButtonColour::Highlight);
    for (QPushButton* button : {Command4, Command5, Command6, Command2}) button->setEnabled(true);
}

void MainWindow::SongDeletedControls() {
    setTransportEnabled(false, false, false, true);
    colour({cmdStop}, ButtonColour::Highlight);
    for (QPushButton* button : {Command4, Command5, Command6, Command2}) button->setEnabled(false);
    Command1->setEnabled(true);
}

}  // namespace melvo
