// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/volume/VolumePanel.h"

#include <QSlider>

#include "core/jukebox/Jukebox.h"
#include "core/volume/VolumeScale.h"
#include "window/volume/MixerError.h"
#include "window/volume/SliderClicks.h"
#include "window/volume/VolumeWindow.h"

namespace melvo {

namespace {

// Gives a slider the range, tick spacing and steps of the master volume control.
void fitSliderToMixer(QSlider* slider, const Volume& volume) {
    const auto [minimum, maximum] = volume.range();
    const int step = sliderStepFor(maximum);
    SliderClicks::Quiet quiet(slider);
    slider->setRange(minimum, maximum);
    slider->setTickInterval(step);
    slider->setPageStep(step);
    slider->setSingleStep(step);
}

}  // namespace

VolumePanel::VolumePanel(QSlider* volumeSlider, QWidget* owner, Jukebox& jukebox, Dialogs& dialogs)
    : QObject(owner), slider_(volumeSlider), owner_(owner), jukebox_(jukebox), dialogs_(dialogs) {
    setObjectName(QStringLiteral("volumePanel"));
    connect(&jukebox_.volume(), &Volume::levelChanged, this,
            [this](int level) { SliderClicks::setValueQuietly(slider_, level); });
}

VolumeWindow* VolumePanel::ensureVolumeWindow() {
    if (!volumeWindow) {
        // A window made again after it was closed starts like the one made at
        // start-up: the control's range and the initial volume.
        volumeWindow = new VolumeWindow(owner_, jukebox_);
        if (jukebox_.volume().mixerOpened())
            fitSliderToMixer(volumeWindow->initialVolumeSlider, jukebox_.volume());
        showInitialVolume();
    }
    return volumeWindow;
}

void VolumePanel::showInitialVolume() {
    SliderClicks::setValueQuietly(ensureVolumeWindow()->initialVolumeSlider,
                                  jukebox_.volume().initialVolume());
}

void VolumePanel::openMixer() {
    SliderClicks::watch(slider_, [this] { jukebox_.setSongVolume(slider_->value()); });
    if (const long error = jukebox_.openMixer(); error != 0) {
        showMixerError(dialogs_, error);
        return;
    }
    const Volume& volume = jukebox_.volume();
    if (!volume.mixerOpened()) return;
    fitSliderToMixer(slider_, volume);
    fitSliderToMixer(ensureVolumeWindow()->initialVolumeSlider, volume);
    SliderClicks::setValueQuietly(slider_, volume.level());
    SliderClicks::setValueQuietly(volumeWindow->initialVolumeSlider, volume.level());
}

void VolumePanel::onInitialVolumeMenuItemTriggered() {
    VolumeWindow* window = ensureVolumeWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace melvo
