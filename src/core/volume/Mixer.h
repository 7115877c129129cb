// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The master output volume of the sound system, on the scale 0..65535.
// Every call returns a result code: 0 for success, otherwise one of the codes
// that showMixerError explains.
#pragma once

#include <cstdint>
#include <memory>

namespace melvo {

struct MixerControl {
    std::uint32_t controlId = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

class Mixer {
  public:
    virtual ~Mixer() = default;
    virtual long open() = 0;
    // Finds the master volume control and describes it.
    virtual long findMasterVolume(MixerControl& control) = 0;
    virtual long setValue(std::uint32_t controlId, std::uint32_t value) = 0;
    // The control's value, or 0 when it cannot be read.
    virtual std::uint32_t value(std::uint32_t controlId) = 0;
    virtual void close() = 0;
};

// The master volume of the ALSA device "default".
std::unique_ptr<Mixer> makeSystemMixer();

}  // namespace melvo
