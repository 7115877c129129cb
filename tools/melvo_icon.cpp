// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Writes the jukebox's icon as PNG files for the desktop's icon theme:
//   melvo_icon <folder> <name>  ->  <folder>/<size>x<size>/apps/<name>.png
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "window/common/AppIcon.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: melvo_icon <output folder> <icon name>\n");
        return 2;
    }
    // Painting needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const QIcon icon = melvo::appIcon();
    const QString fileName = QString::fromLocal8Bit(argv[2]) + QStringLiteral(".png");
    for (int size : {16, 32, 48, 64, 128}) {
        const QString folder =
            QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("%1x%1/apps").arg(size));
        const QPixmap pixmap = icon.pixmap(size, size);
        if (!QDir().mkpath(folder) || pixmap.size() != QSize(size, size) ||
            !pixmap.save(QDir(folder).filePath(fileName))) {
            std::fprintf(stderr, "melvo_icon: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}
