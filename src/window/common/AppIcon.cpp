// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/common/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace melvo {

namespace {

QPixmap paintIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2e, 0x8b, 0x57));
    painter.drawEllipse(QRectF(2, 2, 60, 60));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(14, 38, 13, 10));
    painter.drawEllipse(QRectF(35, 34, 13, 10));
    painter.drawRect(QRectF(24, 16, 3.5, 28));
    painter.drawRect(QRectF(45, 12, 3.5, 28));
    QPainterPath beam;
    beam.moveTo(24, 16);
    beam.lineTo(48.5, 12);
    beam.lineTo(48.5, 19);
    beam.lineTo(24, 23);
    beam.closeSubpath();
    painter.drawPath(beam);
    return pixmap;
}

}  // namespace

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(paintIcon(size));
    return icon;
}

}  // namespace melvo
