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

VolumeWindow* MainWindow::volumeWindow() {
    if (!vol_set) {
        // A window made again after it was closed starts like the one made at
        // start-up: the control's range and the initial volume.
        vol_set = new VolumeWindow(this);
        if (mixerOpened) fitSliderToControl(vol_set->Slider1, volumeControl);
        SliderClicks::setValueQuietly(vol_set->Slider1, leadingWholeNumber(defaultVolumeSetting));
    }
    return vol_set;
}

void MainWindow::OpenMixer() {
    SliderClicks::watch(Slider1, [this] { Slider1_Click(); });
    mixerOpened = false;
    const long opened = services.mixer.open();
    if (opened != 0) {
        ShowMixerError(services.dialogs, opened);
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

    fitSliderToControl(Slider1, volumeControl);
    fitSliderToControl(volumeWindow()->Slider1, volumeControl);
    startupVolume = services.mixer.value(volumeControl.controlId);
    const int shown = sliderValueFor(startupVolume);
    SliderClicks::setValueQuietly(Slider1, shown);
    SliderClicks::setValueQuietly(vol_set->Slider1, shown);
}

void MainWindow::RestoreStartupVolume() { setMasterVolume(*this, startupVolume); }

void MainWindow::CloseMixer() {
    if (!mixerOpened) return;
    mixerOpened = false;
    services.mixer.close();
}

void MainWindow::ApplySongVolume() {
    const int current = List1.current();
    if (current < 0) return;
    const std::string& entry = List1.entry(current);
    Label2->setText(QString::fromStdString(std::string(entryPath(entry))));
    const int volume = entryHasVolume(entry) ? leadingWholeNumber(entryVolumeText(entry))
                                             : leadingWholeNumber(defaultVolumeSetting);
    SliderClicks::setValueQuietly(Slider1, volume);
    setMasterVolume(*this, mixerValueFor(Slider1->value()));
}

void MainWindow::Slider1_Click() {
    setMasterVolume(*this, mixerValueFor(Slider1->value()));
    const int current = List1.current();
    if (current < 0) return;  // no selected song to keep the volume with
    const std::string path(entryPath(List1.entry(current)));
    List1.replace(current, path + "," + blankLedNumber(Slider1->value()));
}

void MainWindow::menu_sound_set_Click() {
    VolumeWindow* window = volumeWindow();
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace melvo
