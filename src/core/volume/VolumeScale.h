// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Conversions between the volume sliders and the mixer: one slider unit is 10
// units of the mixer's volume control.
#pragma once

#include <cstdint>

namespace melvo {

inline constexpr int kMixerUnitsPerSliderUnit = 10;

// The sliders' maximum for the control's maximum: the fraction is dropped, so
// the slider never asks for more than the control can take.
int sliderMaximumFor(std::int32_t controlMaximum);
// Tick spacing, large and small step for a slider maximum (rounded, halves to even).
int sliderStepFor(int sliderMaximum);
// The slider value showing a mixer value (rounded, halves to even).
int sliderValueFor(std::uint32_t mixerValue);
// The mixer value for a slider value; a negative slider value gives 0.
std::uint32_t mixerValueFor(int sliderValue);

}  // namespace melvo
