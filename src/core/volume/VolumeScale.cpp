// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/volume/VolumeScale.h"

#include "core/common/Numbers.h"

namespace melvo {

int sliderMaximumFor(std::int32_t controlMaximum) {
    return controlMaximum / kMixerUnitsPerSliderUnit;
}

int sliderStepFor(int sliderMaximum) {
    return roundHalfEven(static_cast<double>(sliderMaximum) / kMixerUnitsPerSliderUnit);
}

int sliderValueFor(std::uint32_t mixerValue) {
    return roundHalfEven(static_cast<double>(mixerValue) / kMixerUnitsPerSliderUnit);
}

std::uint32_t mixerValueFor(int sliderValue) {
    return sliderValue <= 0 ? 0u
                            : static_cast<std::uint32_t>(sliderValue) * kMixerUnitsPerSliderUnit;
}

}  // namespace melvo
