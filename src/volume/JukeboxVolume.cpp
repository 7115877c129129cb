// The player core's volume: the master volume through the mixer, the volume
// of each song and the initial volume of songs without one.
#include <algorithm>

#include "app/Jukebox.h"
#include "common/Numbers.h"
#include "settings/Settings.h"
#include "volume/VolumeScale.h"

namespace melvo {

long Jukebox::openMixer() {
    mixerOpened_ = false;
    const long opened = mixer_.open();
    if (opened != 0) return opened;
    MixerControl control;
    if (mixer_.findMasterVolume(control) != 0) {
        // Nothing will ever be written to a mixer without a master volume.
        mixer_.close();
        return 0;
    }
    volumeControl_ = control;
    mixerOpened_ = true;
    startupVolume_ = mixer_.value(volumeControl_.controlId);
    return 0;
}

// Every write goes through here: without an open mixer and its master volume
// there is nothing to write to, and the write is skipped.
void Jukebox::setMasterVolume(std::uint32_t value) {
    if (mixerOpened_) mixer_.setValue(volumeControl_.controlId, value);
}

void Jukebox::restoreStartupVolume() { setMasterVolume(startupVolume_); }

void Jukebox::closeMixer() {
    if (!mixerOpened_) return;
    mixerOpened_ = false;
    mixer_.close();
}

std::pair<int, int> Jukebox::volumeRange() const {
    if (!mixerOpened_) return {0, 10};
    const int minimum = volumeControl_.minimum;
    return {minimum, std::max(minimum, sliderMaximumFor(volumeControl_.maximum))};
}

int Jukebox::initialVolume() const { return leadingWholeNumber(initialVolumeSetting_); }

// The current entry becomes the chosen song, at its own volume or else the
// initial volume, kept inside the sliders' range.
void Jukebox::applySongVolume() {
    const int current = entries_.current();
    if (current < 0) return;
    const std::string& entry = entries_.entry(current);
    chosenPath_ = std::string(entryPath(entry));
    emit songChosen(chosenPath_);
    const int wanted =
        entryHasVolume(entry) ? leadingWholeNumber(entryVolumeText(entry)) : initialVolume();
    const auto [minimum, maximum] = volumeRange();
    const int volume = std::clamp(wanted, minimum, maximum);
    emit volumeChanged(volume);
    setMasterVolume(mixerValueFor(volume));
}

void Jukebox::setSongVolume(int sliderValue) {
    setMasterVolume(mixerValueFor(sliderValue));
    const int current = entries_.current();
    if (current < 0) return;  // no selected song to keep the volume with
    const std::string path(entryPath(entries_.entry(current)));
    entries_.replace(current, path + "," + blankLedNumber(sliderValue));
}

void Jukebox::setInitialVolume(int sliderValue) {
    initialVolumeSetting_ = blankLedNumber(sliderValue);
    writeSetting(initialVolumeSetting_, "vol", kSettingsSection, settingsPath());
}

}  // namespace melvo
