// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/volume/AlsaMixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <cmath>

namespace melvo {

namespace {

constexpr const char* kDeviceName = "default";
constexpr const char* kElementName = "Master";
constexpr double kScaleTop = 65535.0;

// ALSA reports its own failures on stderr; the program reports through its
// result codes and says nothing else.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// ALSA's errors mapped onto the nearest code the user is shown:
//   -ENOENT (no card, no sound server behind "default"), -EACCES, -EPERM and
//     anything not listed below: 6, no mixer device is available;
//   -ENODEV, -ENXIO, -EINVAL (the device is named but gone or unusable): 2,
//     the device is invalid;
//   -EBUSY, -EAGAIN (another program holds the device): 4, already allocated;
//   -EBADF, -EBADFD (the handle no longer works): 5, invalid handle;
//   -ENOMEM: 7, cannot allocate.
long mixerCodeForAlsaError(int error) {
    if (error >= 0) return 0;
    switch (error) {
        case -ENODEV:
        case -ENXIO:
        case -EINVAL:
            return kMixerBadDevice;
        case -EBUSY:
        case -EAGAIN:
            return kMixerAllocated;
        case -EBADF:
        case -EBADFD:
            return kMixerInvalidHandle;
        case -ENOMEM:
            return kMixerNoMemory;
        default:
            return kMixerNoDriver;
    }
}

long alsaVolumeFor(std::uint32_t value, long minimum, long maximum) {
    if (maximum <= minimum) return minimum;
    const double scaled = std::min<double>(value, kScaleTop) / kScaleTop;
    return minimum + std::lround(scaled * static_cast<double>(maximum - minimum));
}

std::uint32_t mixerVolumeFor(long alsaVolume, long minimum, long maximum) {
    if (maximum <= minimum) return 0;
    const long clamped = std::clamp(alsaVolume, minimum, maximum);
    const double share =
        static_cast<double>(clamped - minimum) / static_cast<double>(maximum - minimum);
    return static_cast<std::uint32_t>(std::lround(share * kScaleTop));
}

AlsaMixer::AlsaMixer() { snd_lib_error_set_handler(ignoreAlsaMessage); }

AlsaMixer::~AlsaMixer() { close(); }

long AlsaMixer::open() {
    if (handle_) return kMixerAllocated;
    snd_mixer_t* handle = nullptr;
    int error = snd_mixer_open(&handle, 0);
    if (error < 0) return mixerCodeForAlsaError(error);
    error = snd_mixer_attach(handle, kDeviceName);
    if (error >= 0) error = snd_mixer_selem_register(handle, nullptr, nullptr);
    if (error >= 0) error = snd_mixer_load(handle);
    if (error < 0) {
        snd_mixer_close(handle);
        return mixerCodeForAlsaError(error);
    }
    handle_ = handle;
    return 0;
}

long AlsaMixer::findMasterVolume(MixerControl& control) {
    if (!handle_) return kMixerInvalidHandle;
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, kElementName);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_elem_t* element = snd_mixer_find_selem(handle_, id);
    if (!element || !snd_mixer_selem_has_playback_volume(element)) return kMixerNoControl;
    long minimum = 0;
    long maximum = 0;
    const int error = snd_mixer_selem_get_playback_volume_range(element, &minimum, &maximum);
    if (error < 0) return mixerCodeForAlsaError(error);
    if (maximum <= minimum) return kMixerNoControl;  // a volume that cannot move
    master_ = element;
    minimum_ = minimum;
    maximum_ = maximum;
    control.controlId = kMasterControlId;
    control.minimum = 0;
    control.maximum = static_cast<std::int32_t>(kScaleTop);
    return 0;
}

snd_mixer_elem_t* AlsaMixer::elementFor(std::uint32_t controlId) {
    return handle_ && controlId == kMasterControlId ? master_ : nullptr;
}

long AlsaMixer::setValue(std::uint32_t controlId, std::uint32_t value) {
    if (!handle_) return kMixerInvalidHandle;
    snd_mixer_elem_t* element = elementFor(controlId);
    if (!element) return kMixerInvalidParameter;
    const int error =
        snd_mixer_selem_set_playback_volume_all(element, alsaVolumeFor(value, minimum_, maximum_));
    return mixerCodeForAlsaError(error);
}

// With channels at different volumes the loudest one counts, so that writing
// the value back never makes the output quieter.
std::uint32_t AlsaMixer::value(std::uint32_t controlId) {
    snd_mixer_elem_t* element = elementFor(controlId);
    if (!element) return 0;
    snd_mixer_handle_events(handle_);  // take in changes made by other programs
    bool read = false;
    long loudest = minimum_;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (!snd_mixer_selem_has_playback_channel(element, id)) continue;
        long volume = 0;
        if (snd_mixer_selem_get_playback_volume(element, id, &volume) < 0) continue;
        loudest = read ? std::max(loudest, volume) : volume;
        read = true;
    }
    return read ? mixerVolumeFor(loudest, minimum_, maximum_) : 0;
}

void AlsaMixer::close() {
    if (!handle_) return;
    snd_mixer_close(handle_);
    handle_ = nullptr;
    master_ = nullptr;
}

std::unique_ptr<Mixer> makeSystemMixer() { return std::make_unique<AlsaMixer>(); }

}  // namespace melvo
