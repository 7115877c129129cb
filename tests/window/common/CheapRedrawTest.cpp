// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The widgets that change while a song plays redraw only part of themselves,
// or redraw at once from images of their characters: after each change the
// position bar on screen is exactly what a whole redraw draws, and a read-out
// is what a label showing the same text draws.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <functional>

#include "window/common/ReadOut.h"
#include "window/playback/PositionBar.h"

namespace melvo {
namespace {

struct Panel {
    QWidget window;
    ReadOut* readOut = new ReadOut(&window);
    PositionBar* bar = new PositionBar(&window);
    Panel() {
        window.resize(520, 80);
        readOut->setGeometry(10, 10, 57, 17);
        bar->setGeometry(10, 40, 489, 17);
        bar->setRange(0, 215);
    }
};

QImage shownOnScreen(QWidget* widget) {
    const QPoint at = widget->mapTo(widget->window(), QPoint());
    return widget->screen()
        ->grabWindow(widget->window()->winId(), at.x(), at.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage drawnWhole(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The share of pixels whose colours differ by more than a quarter.
double differingShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 1.0;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            differing += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                   std::abs(qBlue(p) - qBlue(q))}) > 64;
        }
    }
    return double(differing) / (a.width() * a.height());
}

// A read-out looks like a label showing the same text.
QImage drawnAsLabel(const ReadOut& readOut) {
    QLabel label(readOut.text());
    label.setFont(readOut.font());
    label.setPalette(readOut.palette());
    label.resize(readOut.size());
    return drawnWhole(&label);
}

TEST(CheapRedraw, WhatTheScreenShowsAfterEachChangeIsTheWholeRedraw) {
    Panel panel;
    panel.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel.window));
    ReadOut& readOut = *panel.readOut;
    PositionBar& bar = *panel.bar;

    struct Step {
        const char* change;
        std::function<void()> make;
    };
    const std::vector<Step> steps{
        {"first text", [&] { readOut.setText("9.9"); }},
        {"longer text", [&] { readOut.setText("10.0"); }},
        {"shorter text", [&] { readOut.setText("8.5"); }},
        {"a mode", [&] { readOut.setText("PLAYING"); }},
        {"no text", [&] { readOut.setText(""); }},
        {"a character of two units", [&] { readOut.setText(QString::fromUtf8("♪𝄞1.0")); }},
        {"another font",
         [&] {
             readOut.setFont(QFont(readOut.font().family(), 14));
             readOut.setText("12.3");
         }},
        {"other colours",
         [&] {
             QPalette colours;
             colours.setColor(QPalette::Window, Qt::black);
             colours.setColor(QPalette::WindowText, Qt::yellow);
             readOut.setPalette(colours);
         }},
        {"bar one step on", [&] { bar.setValue(1); }},
        {"bar one more step", [&] { bar.setValue(2); }},
        {"bar far on", [&] { bar.setValue(200); }},
        {"bar back to the start", [&] { bar.setValue(0); }},
        {"bar of a shorter song",
         [&] {
             bar.setValue(80);
             bar.setRange(0, 90);
         }},
        {"bar narrower",
         [&] {
             bar.resize(300, 17);
             bar.setValue(85);
         }},
    };
    for (const Step& step : steps) {
        step.make();
        QCoreApplication::processEvents();
        EXPECT_LT(differingShare(shownOnScreen(&readOut), drawnAsLabel(readOut)), 0.05)
            << step.change;
        EXPECT_EQ(shownOnScreen(&bar), drawnWhole(&bar)) << step.change;
    }
}

}  // namespace
}  // namespace melvo
