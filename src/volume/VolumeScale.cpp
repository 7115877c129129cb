#include "volume/VolumeScale.h"

#include "common/Numbers.h"

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
