// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The transport panel: play, pause, resume and stop, the position bar, the
// three read-outs and the repeat box. The buttons call the player core
// straight; the bar and the read-outs show what its transport reports.
#pragma once

#include <QObject>

#include "core/playback/MediaEngine.h"

class QCheckBox;
class QPushButton;
class QScrollBar;

namespace melvo {

class Dialogs;
class Jukebox;
class ReadOut;

class TransportPanel : public QObject {
    Q_OBJECT

  public:
    struct Controls {
        QPushButton* playButton;
        QPushButton* pauseButton;
        QPushButton* resumeButton;
        QPushButton* stopButton;
        QScrollBar* positionBar;
        ReadOut* positionLabel;
        ReadOut* lengthLabel;
        ReadOut* playModeLabel;
        QCheckBox* repeatBox;
    };

    TransportPanel(Controls controls, Jukebox& jukebox, Dialogs& dialogs, QObject* parent);

  private:
    void showSongLength(double seconds);
    void showPosition(double seconds, MediaMode mode);
    // Moves the bar without taking the move for a seek.
    void moveBar(int maximum, int value);
    void onPositionBarChanged();

    Controls c_;
    Jukebox& jukebox_;
    Dialogs& dialogs_;
    bool movingBar_ = false;  // a move of the bar by the program, not a seek
};

}  // namespace melvo
