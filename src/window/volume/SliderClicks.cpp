// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/volume/SliderClicks.h"

#include <QMouseEvent>
#include <QSlider>

namespace melvo {

SliderClicks::SliderClicks(QSlider* slider, std::function<void()> onClick)
    : QObject(slider), slider_(slider), onClick_(std::move(onClick)) {
    slider->installEventFilter(this);
    connect(slider, &QAbstractSlider::actionTriggered, this, &SliderClicks::actionTriggered);
    connect(slider, &QAbstractSlider::valueChanged, this, &SliderClicks::valueChanged);
}

SliderClicks* SliderClicks::of(QSlider* slider) {
    return slider ? slider->findChild<SliderClicks*>(QString(), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

void SliderClicks::watch(QSlider* slider, std::function<void()> onClick) {
    if (!of(slider)) new SliderClicks(slider, std::move(onClick));
}

void SliderClicks::setValueQuietly(QSlider* slider, int value) {
    Quiet quiet(slider);
    slider->setValue(value);
}

SliderClicks::Quiet::Quiet(QSlider* slider) : clicks_(of(slider)) {
    if (clicks_) ++clicks_->quiet_;
}

SliderClicks::Quiet::~Quiet() {
    if (clicks_) --clicks_->quiet_;
}

// Keys and the wheel arrive as actions before the slider takes the new
// position as its value; the value is settled here so the click sees it.
// Mouse actions (groove steps, the handle's moves) wait for the button's release.
void SliderClicks::actionTriggered(int action) {
    if (quiet_ > 0 || mouseHeld_ || slider_->isSliderDown()) return;
    if (action == QAbstractSlider::SliderNoAction) return;
    {
        Quiet quiet(slider_);
        slider_->setValue(slider_->sliderPosition());
    }
    onClick_();
}

// A value set from outside any action: an assistive tool working the slider.
void SliderClicks::valueChanged() {
    if (quiet_ > 0 || mouseHeld_ || slider_->isSliderDown() || !slider_->isVisible()) return;
    onClick_();
}

bool SliderClicks::eventFilter(QObject* watched, QEvent* event) {
    if (watched != slider_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) mouseHeld_ = true;
            return false;
        case QEvent::MouseButtonRelease: {
            if (!mouseHeld_ || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
                return false;
            }
            // Let the slider finish the press (end a drag, stop stepping) first,
            // so the click sees the value it leaves.
            static_cast<QObject*>(slider_)->event(event);
            mouseHeld_ = false;
            onClick_();
            return true;
        }
        case QEvent::Hide:
            mouseHeld_ = false;
            return false;
        default:
            return false;
    }
}

}  // namespace melvo
