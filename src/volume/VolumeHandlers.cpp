// Master volume: the mixer at start-up and exit, per-song volumes and the
// volume window.
#include <QLabel>
#include <QSlider>

#include "app/MainWindow.h"
#include "common/Numbers.h"
#include "volume/MixerError.h"
#include "volume/SliderClicks.h"
#include "volume/VolumeScale.h"
#include "volume/VolumeWindow.h"

namespace melvo {

namespace {

// Gives a slider the range, tick spacing and steps of the master volume control.
void fitSliderToControl(QSlider* slider, const MixerControl& control) {
    const int maximum = sliderMaximumFor(control.maximum);
    const int step = sliderStepFor(maximum);
    SliderClicks::Quiet quiet(slider);
    slider->setRange(control.minimum, maximum);
    slider->setTickInterval(step);
    slider->setPageStep(step);
    slider->setSingleStep(step);
}

// Every write goes through here: without an open mixer and its master volume
// there is nothing to write to, and the write is skipped.
void setMasterVolume(MainWindow& window, std::uint32_t value) {
    if (!window.mixerOpened) return;
    window.services.mixer.setValue(window.volumeControl.controlId, value);
}

}  // namespace

VolumeWindow* MainWindow::ensureVolumeWindow() {
    if (!volumeWindow) {
        // A window made again after it was closed starts like the one made at
        // start-up: the control's range and the initial volume.
        volumeWindow = new VolumeWindow(this);
        if (mixerOpened) fitSliderToControl(volumeWindow->initialVolumeSlider, volumeControl);
        SliderClicks::setValueQuietly(volumeWindow->initialVolumeSlider,
                                      leadingWholeNumber(defaultVolumeSetting));
    }
    return volumeWindow;
}

void MainWindow::openMixer() {
    SliderClicks::watch(volumeSlider, [this] { onVolumeSliderClicked(); });
    mixerOpened = false;
    const long opened = services.mixer.open();
    if (opened != 0) {
        showMixerError(services.dialogs, opened);
        return;
    }
    MixerControl control;
    if (services.mixer.findMasterVolume(control) != 0) {
        // Nothing will ever be written to a mixer without a master volume.
        services.mixer.close();
        return;
    }
    volumeControl = control;
    mixerOpened = true;

    fitSliderToControl(volumeSlider, volumeControl);
    fitSliderToControl(ensureVolumeWindow()->initialVolumeSlider, volumeControl);
    startupVolume = services.mixer.value(volumeControl.controlId);
    const int shown = sliderValueFor(startupVolume);
    SliderClicks::setValueQuietly(volumeSlider, shown);
    SliderClicks::setValueQuietly(volumeWindow->initialVolumeSlider, shown);
}

void MainWindow::restoreStartupVolume() { setMasterVolume(*this, startupVolume); }

void MainWindow::closeMixer() {
    if (!mixerOpened) return;
    mixerOpened = false;
    services.mixer.close();
}

void MainWindow::applySongVolume() {
    const int current = songEntries.current();
    if (current < 0) return;
    const std::string& entry = songEntries.entry(current);
    songPathLabel->setText(QString::fromStdString(std::string(entryPath(entry))));
    const int volume = entryHasVolume(entry) ? leadingWholeNumber(entryVolumeText(entry))
                                             : leadingWholeNumber(defaultVolumeSetting);
    SliderClicks::setValueQuietly(volumeSlider, volume);
    setMasterVolume(*this, mixerValueFor(volumeSlider->value()));
}

void MainWindow::onVolumeSliderClicked() {
    setMasterVolume(*this, mixerValueFor(volumeSlider->value()));
    const int current = songEntries.current();
    if (current < 0) return;  // no selected song to keep the volume with
    const std::string path(entryPath(songEntries.entry(current)));
    songEntries.replace(current, path + "," + blankLedNumber(volumeSlider->value()));
}

void MainWindow::onInitialVolumeMenuItemTriggered() {
    VolumeWindow* window = ensureVolumeWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace melvo
