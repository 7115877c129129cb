// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/volume/Volume.h"

#include <algorithm>

#include "core/common/Numbers.h"
#include "core/settings/Settings.h"
#include "core/volume/VolumeScale.h"

namespace melvo {

Volume::Volume(Mixer& mixer, std::string settingsPath, QObject* parent)
    : QObject(parent), mixer_(mixer), settingsPath_(std::move(settingsPath)) {
    setObjectName(QStringLiteral("volume"));
}

long Volume::openMixer() {
    mixerOpened_ = false;
    const long opened = mixer_.open();
    if (opened != 0) return opened;
    MixerControl control;
    if (mixer_.findMasterVolume(control) != 0) {
        // Nothing will ever be written to a mixer without a master volume.
        mixer_.close();
        return 0;
    }
    control_ = control;
    mixerOpened_ = true;
    startupVolume_ = mixer_.value(control_.controlId);
    showLevel(sliderValueFor(startupVolume_));
    return 0;
}

// Every write goes through here: without an open mixer and its master volume
// there is nothing to write to, and the write is skipped.
void Volume::setMasterVolume(std::uint32_t value) {
    if (mixerOpened_) mixer_.setValue(control_.controlId, value);
}

void Volume::restoreStartupVolume() { setMasterVolume(startupVolume_); }

void Volume::closeMixer() {
    if (!mixerOpened_) return;
    mixerOpened_ = false;
    mixer_.close();
}

void Volume::loadSettings() {
    initialVolumeSetting_ = readSettingOr("vol", settingsPath_, "6553");
    showLevel(initialVolume());
}

int Volume::initialVolume() const { return leadingWholeNumber(initialVolumeSetting_); }

void Volume::setInitialVolume(int level) {
    initialVolumeSetting_ = blankLedNumber(level);
    writeSetting(initialVolumeSetting_, "vol", kSettingsSection, settingsPath_);
}

std::pair<int, int> Volume::range() const {
    if (!mixerOpened_) return {0, 10};
    const int minimum = control_.minimum;
    return {minimum, std::max(minimum, sliderMaximumFor(control_.maximum))};
}

void Volume::showLevel(int level) {
    const auto [minimum, maximum] = range();
    level_ = std::clamp(level, minimum, maximum);
    emit levelChanged(level_);
}

void Volume::applySongVolume(std::optional<std::string_view> ownVolume) {
    showLevel(ownVolume ? leadingWholeNumber(*ownVolume) : initialVolume());
    setMasterVolume(mixerValueFor(level_));
}

void Volume::setLevel(int level) {
    setMasterVolume(mixerValueFor(level));
    showLevel(level);
}

}  // namespace melvo
