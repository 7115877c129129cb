// Master volume in the window: the main volume slider, the volume window and
// the mixer's messages.
#include <QLabel>
#include <QSlider>

#include "app/MainWindow.h"
#include "volume/MixerError.h"
#include "volume/SliderClicks.h"
#include "volume/VolumeScale.h"
#include "volume/VolumeWindow.h"

namespace melvo {

namespace {

// Gives a slider the range, tick spacing and steps of the master volume control.
void fitSliderToMixer(QSlider* slider, const Jukebox& jukebox) {
    const auto [minimum, maximum] = jukebox.volumeRange();
    const int step = sliderStepFor(maximum);
    SliderClicks::Quiet quiet(slider);
    slider->setRange(minimum, maximum);
    slider->setTickInterval(step);
    slider->setPageStep(step);
    slider->setSingleStep(step);
}

}  // namespace

VolumeWindow* MainWindow::ensureVolumeWindow() {
    if (!volumeWindow) {
        // A window made again after it was closed starts like the one made at
        // start-up: the control's range and the initial volume.
        volumeWindow = new VolumeWindow(this);
        if (jukebox.mixerOpened()) fitSliderToMixer(volumeWindow->initialVolumeSlider, jukebox);
        SliderClicks::setValueQuietly(volumeWindow->initialVolumeSlider, jukebox.initialVolume());
    }
    return volumeWindow;
}

void MainWindow::openMixer() {
    SliderClicks::watch(volumeSlider, [this] { onVolumeSliderClicked(); });
    if (const long error = jukebox.openMixer(); error != 0) {
        showMixerError(services.dialogs, error);
        return;
    }
    if (!jukebox.mixerOpened()) return;
    fitSliderToMixer(volumeSlider, jukebox);
    fitSliderToMixer(ensureVolumeWindow()->initialVolumeSlider, jukebox);
    const int shown = sliderValueFor(jukebox.startupVolume());
    SliderClicks::setValueQuietly(volumeSlider, shown);
    SliderClicks::setValueQuietly(volumeWindow->initialVolumeSlider, shown);
}

void MainWindow::onVolumeSliderClicked() { jukebox.setSongVolume(volumeSlider->value()); }

void MainWindow::onInitialVolumeMenuItemTriggered() {
    VolumeWindow* window = ensureVolumeWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::followVolume() {
    connect(&jukebox, &Jukebox::volumeChanged, this,
            [this](int value) { SliderClicks::setValueQuietly(volumeSlider, value); });
}

}  // namespace melvo
