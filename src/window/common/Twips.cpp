// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/common/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace melvo {

int twipsToPixels(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(twips / 15.0 * dpi / 96.0);
}

void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

}  // namespace melvo
