// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The buttons show the player core's control state: its flags as their
// enabled states, and each step's colours, with the transport button that
// tells what plays highlighted.
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include "window/main/MainWindow.h"

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

void MainWindow::followControlState() {
    connect(&jukebox, &Jukebox::controlsChanged, this, &MainWindow::applyControls);
    const Transport& transport = jukebox.transport();
    connect(&transport, &Transport::songPaused, this, &MainWindow::showPausedColours);
    // The resume button stays lit for a second.
    connect(&transport, &Transport::songResumed, this, [this] {
        showResumedColours();
        lightForASecond(resumeButton);
    });
    connect(&transport, &Transport::songEnded, this, &MainWindow::showSongEndedColours);
    connect(&jukebox, &Jukebox::noSongChosen, this,
            [this] { setBackColour(playButton, ButtonColour::Normal); });
    // The next and previous buttons stay lit for a second.
    connect(&jukebox, &Jukebox::songSkipping, this, [this](bool forward) {
        lightForASecond(forward ? nextSongButton : previousSongButton);
    });
}

void MainWindow::applyControls(const ControlState& controls) {
    playButton->setEnabled(controls.play);
    pauseButton->setEnabled(controls.pause);
    resumeButton->setEnabled(controls.resume);
    stopButton->setEnabled(controls.stop);
    addSongButton->setEnabled(controls.add);
    deleteSongButton->setEnabled(controls.remove);
    autoPlayButton->setEnabled(controls.autoPlay);
    nextSongButton->setEnabled(controls.next);
    previousSongButton->setEnabled(controls.previous);
    showStepColours(controls.step);
}

void MainWindow::showStepColours(ControlState::Step step) {
    using Step = ControlState::Step;
    switch (step) {
        case Step::Start:
        case Step::NoSongs:
            break;
        case Step::ManualIdle:
            colour({autoPlayButton}, ButtonColour::Normal);
            break;
        case Step::AutoIdle:
            colour({autoPlayButton}, ButtonColour::Highlight);
            break;
        case Step::Playing:
            colour({stopButton, pauseButton, resumeButton}, ButtonColour::Normal);
            colour({playButton}, ButtonColour::Highlight);
            break;
        case Step::AutoPlaying:
            colour({autoPlayButton, playButton}, ButtonColour::Highlight);
            colour({stopButton, pauseButton, resumeButton}, ButtonColour::Normal);
            break;
        case Step::Stopped:
            colour({stopButton}, ButtonColour::Highlight);
            colour({autoPlayButton, pauseButton, resumeButton, playButton}, ButtonColour::Normal);
            break;
        case Step::SongAdded:
        case Step::ListReset:
            colour({stopButton}, ButtonColour::Highlight);
            break;
    }
}

void MainWindow::showPausedColours() {
    colour({pauseButton}, ButtonColour::Highlight);
    colour({stopButton, autoPlayButton, resumeButton, playButton}, ButtonColour::Normal);
}

void MainWindow::showResumedColours() {
    colour({resumeButton, playButton}, ButtonColour::Highlight);
    colour({stopButton, pauseButton}, ButtonColour::Normal);
    colour({autoPlayButton},
           jukebox.autoPlay().isOn() ? ButtonColour::Highlight : ButtonColour::Normal);
}

void MainWindow::showSongEndedColours() {
    colour({stopButton}, ButtonColour::Highlight);
    colour({pauseButton, resumeButton, playButton}, ButtonColour::Normal);
}

}  // namespace melvo
