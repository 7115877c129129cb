// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/autoplay/AutoPlay.h"

#include <QTimer>

#include "core/common/Numbers.h"
#include "core/settings/Settings.h"

namespace melvo {

AutoPlay::AutoPlay(std::string settingsPath, QObject* parent)
    : QObject(parent), settingsPath_(std::move(settingsPath)), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("autoPlay"));
    timer_->setObjectName(QStringLiteral("autoPlayTimer"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &AutoPlay::supervise);
}

// The mode is on when its setting reads as a number that is not 0 (text that
// is no number reads as 0).
void AutoPlay::loadSettings() {
    on_ = leadingNumber(readSettingOr("AUTO", settingsPath_, "0")) != 0;
    randomOrder_ = readSettingOr("RANDAM", settingsPath_, "0") != "0";
    settingsLoaded_ = true;
}

void AutoPlay::setRandomOrder(bool random) {
    if (std::exchange(randomOrder_, random) != random) emit randomOrderChanged(random);
}

void AutoPlay::chooseMode(bool on) {
    on_ = on;
    writeSetting(on ? "1" : "0", "AUTO", kSettingsSection, settingsPath_);
}

void AutoPlay::saveRandomOrder() const {
    if (!settingsLoaded_) return;
    writeSetting(randomOrder_ ? "1" : "0", "RANDAM", kSettingsSection, settingsPath_);
}

void AutoPlay::begin() {
    on_ = true;
    timer_->start();
    armed_ = true;
}

void AutoPlay::arm(bool haveSongs) {
    armed_ = true;
    if (on_ && haveSongs) timer_->start();
}

void AutoPlay::end() {
    timer_->stop();
    resting_ = false;
    on_ = false;
}

void AutoPlay::rest() {
    if (!timer_->isActive()) return;
    timer_->stop();
    resting_ = true;
}

void AutoPlay::wake() {
    if (std::exchange(resting_, false)) timer_->start();
}

}  // namespace melvo
