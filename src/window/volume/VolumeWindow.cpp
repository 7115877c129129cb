// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/volume/VolumeWindow.h"

#include <QLabel>
#include <QSlider>

#include "core/common/Numbers.h"
#include "core/jukebox/Jukebox.h"
#include "core/settings/Settings.h"
#include "window/common/Accessibility.h"
#include "window/common/Twips.h"
#include "window/volume/SliderClicks.h"

namespace melvo {

VolumeWindow::VolumeWindow(QWidget* owner, Jukebox& jukebox)
    : QWidget(owner, Qt::Window), jukebox_(jukebox) {
    setObjectName(QStringLiteral("volumeWindow"));
    setWindowTitle("音量初期値設定");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(4680), twipsToPixels(3195));
    volumeCaptionLabel = new QLabel("ボリューム調整", this);
    volumeCaptionLabel->setObjectName(QStringLiteral("volumeCaptionLabel"));
    placeInTwips(volumeCaptionLabel, 855, 450, 1590, 285);
    initialVolumeSlider = new QSlider(Qt::Horizontal, this);
    initialVolumeSlider->setObjectName(QStringLiteral("initialVolumeSlider"));
    initialVolumeSlider->setRange(0, 10);
    initialVolumeSlider->setTickPosition(QSlider::TicksBelow);
    placeInTwips(initialVolumeSlider, 675, 855, 3210, 420);
    SliderClicks::watch(initialVolumeSlider, [this] { onInitialVolumeSliderClicked(); });
    nameForScreenReaders(this);
}

void VolumeWindow::onInitialVolumeSliderClicked() {
    jukebox_.setInitialVolume(initialVolumeSlider->value());
}

}  // namespace melvo
