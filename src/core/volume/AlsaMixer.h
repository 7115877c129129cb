// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The master volume of the ALSA device "default": the playback volume of its
// simple mixer element "Master", both channels at once. The element's own
// range is mapped onto 0..65535, so callers see the same scale on every card
// and sound server.
#pragma once

#include <cstdint>

#include "core/volume/Mixer.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace melvo {

// Result codes of the mixer layer, as showMixerError explains them.
inline constexpr long kMixerBadDevice = 2;
inline constexpr long kMixerAllocated = 4;
inline constexpr long kMixerInvalidHandle = 5;
inline constexpr long kMixerNoDriver = 6;
inline constexpr long kMixerNoMemory = 7;
inline constexpr long kMixerInvalidParameter = 11;
// No "Master" element with a playback volume; never shown to the user.
inline constexpr long kMixerNoControl = 1025;

// The result code for a failing ALSA call (a negative errno value).
long mixerCodeForAlsaError(int error);

// Maps a value on the scale 0..65535 onto the range [minimum, maximum] and
// back, rounding to the nearest step. Values outside either range are kept at
// its ends; an empty range maps everything to its minimum, and back to 0.
long alsaVolumeFor(std::uint32_t value, long minimum, long maximum);
std::uint32_t mixerVolumeFor(long alsaVolume, long minimum, long maximum);

class AlsaMixer : public Mixer {
  public:
    AlsaMixer();
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    long open() override;
    long findMasterVolume(MixerControl& control) override;
    long setValue(std::uint32_t controlId, std::uint32_t value) override;
    std::uint32_t value(std::uint32_t controlId) override;
    void close() override;

    // The identifier findMasterVolume hands out for the master volume.
    static constexpr std::uint32_t kMasterControlId = 1;

  private:
    snd_mixer_elem_t* elementFor(std::uint32_t controlId);

    snd_mixer_t* handle_ = nullptr;
    snd_mixer_elem_t* master_ = nullptr;
    long minimum_ = 0;
    long maximum_ = 0;
};

}  // namespace melvo
