// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The player core's volume: the master volume through the Mixer, given back
// at exit as it was at start-up; the volume of each song and the initial
// volume ("vol") of songs without one. Volumes are on the sliders' scale.
#pragma once

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/volume/Mixer.h"

namespace melvo {

class Volume : public QObject {
    Q_OBJECT

  public:
    Volume(Mixer& mixer, std::string settingsPath, QObject* parent = nullptr);

    // Opens the mixer and finds its master volume; 0, or the mixer's error code
    // (1025 for a missing master volume, which is no error to show).
    long openMixer();
    bool mixerOpened() const { return mixerOpened_; }
    std::uint32_t startupVolume() const { return startupVolume_; }
    void restoreStartupVolume();
    void closeMixer();

    // Reads "vol"; the level becomes the initial volume.
    void loadSettings();
    int initialVolume() const;
    // The initial volume as an entry of the song list carries it.
    std::string initialVolumeText() const { return initialVolumeSetting_; }
    void setInitialVolume(int level);
    // The sliders' range: the master volume's while the mixer is open, else 0..10.
    std::pair<int, int> range() const;
    // The volume set last, kept inside the range.
    int level() const { return level_; }

    // A song is chosen: the master volume goes to its own volume (the text an
    // entry keeps), or to the initial volume when it has none.
    void applySongVolume(std::optional<std::string_view> ownVolume);

  public slots:
    // The user set the volume: it goes to the master volume.
    void setLevel(int level);

  signals:
    void levelChanged(int level);

  private:
    void setMasterVolume(std::uint32_t value);
    void showLevel(int level);

    Mixer& mixer_;
    std::string settingsPath_;
    std::string initialVolumeSetting_ = "6553";
    bool mixerOpened_ = false;
    MixerControl control_;
    std::uint32_t startupVolume_ = 0;
    int level_ = 0;
};

}  // namespace melvo
