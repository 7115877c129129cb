// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The least a Qt window can cost while a song plays: a window of the main
// window's size whose only work is a read-out showing tenths of a second,
// ten times a second, like the program's position read-out. With --no-draw
// the timer ticks and nothing is drawn. Run it on a display and measure its
// CPU from outside (bench/cost_of_playing.sh does).
#include <QApplication>
#include <QTimer>
#include <cstring>

#include "window/common/ReadOut.h"

int main(int argc, char** argv) {
    // As the program itself: no shared-memory round trip per redraw.
    qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    const bool draw = !(argc > 1 && std::strcmp(argv[1], "--no-draw") == 0);
    QWidget window;
    window.resize(540, 400);
    auto* readOut = new melvo::ReadOut(&window);
    readOut->setGeometry(384, 96, 57, 17);
    window.show();
    int tenths = 0;
    QTimer ticks;
    ticks.setInterval(100);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        ++tenths;
        if (draw) readOut->setText(QString::number(tenths / 10.0, 'f', 1));
    });
    ticks.start();
    return QApplication::exec();
}
