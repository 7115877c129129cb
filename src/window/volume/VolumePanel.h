// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The volume panel: the main volume slider, which shows the player core's
// volume and sets the playing song's, and the volume window of the initial
// volume.
#pragma once

#include <QObject>
#include <QPointer>

class QSlider;
class QWidget;

namespace melvo {

class Dialogs;
class Jukebox;
class VolumeWindow;

class VolumePanel : public QObject {
    Q_OBJECT

  public:
    // owner: the window the volume window belongs to.
    VolumePanel(QSlider* volumeSlider, QWidget* owner, Jukebox& jukebox, Dialogs& dialogs);

    // Opens the mixer, telling the user when that fails, and fits the volume
    // sliders to its master volume.
    void openMixer();
    // The volume window's slider shows the initial volume as read from the settings.
    void showInitialVolume();
    // The volume window, created hidden when it does not exist yet.
    VolumeWindow* ensureVolumeWindow();
    void onInitialVolumeMenuItemTriggered();

    QPointer<VolumeWindow> volumeWindow;

  private:
    QSlider* slider_;
    QWidget* owner_;
    Jukebox& jukebox_;
    Dialogs& dialogs_;
};

}  // namespace melvo
