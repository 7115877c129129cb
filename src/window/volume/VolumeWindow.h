// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The volume window: one slider that sets the initial volume of songs
// without a volume of their own.
#pragma once

#include <QWidget>

class QLabel;
class QSlider;

namespace melvo {

class Jukebox;

class VolumeWindow : public QWidget {
    Q_OBJECT

  public:
    VolumeWindow(QWidget* owner, Jukebox& jukebox);

    // Stores the slider's value as the initial volume, in memory and in the
    // settings file. The master volume and the main slider stay as they are.
    void onInitialVolumeSliderClicked();

    QLabel* volumeCaptionLabel;
    QSlider* initialVolumeSlider;

  private:
    Jukebox& jukebox_;
};

}  // namespace melvo
