// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/playback/PositionBar.h"

#include <QStyleOptionSlider>

namespace melvo {

PositionBar::PositionBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

void PositionBar::sliderChange(SliderChange change) {
    const QRect handle = handleRect();
    if (change == SliderValueChange) {
        // A margin for the handle's outline and shadow.
        update(handle.united(handleShown_).adjusted(-2, 0, 2, 0));
    } else {
        QScrollBar::sliderChange(change);
    }
    handleShown_ = handle;
}

void PositionBar::resizeEvent(QResizeEvent* event) {
    QScrollBar::resizeEvent(event);
    handleShown_ = handleRect();
}

QRect PositionBar::handleRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
}

}  // namespace melvo
