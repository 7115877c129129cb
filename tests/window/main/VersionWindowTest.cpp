// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The version window: its fixed texts and colours, and one window at a time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "support/WindowHarness.h"
#include "window/common/Twips.h"
#include "window/main/VersionWindow.h"

namespace melvo {
namespace {

void discardClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(VersionWindowTest, ShowsTheProgramNameVersionAndDisclaimerAsDesigned) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.onVersionMenuItemTriggered();
    ASSERT_TRUE(window.versionWindow);
    const VersionWindow& version = *window.versionWindow;

    EXPECT_EQ(version.windowTitle(), "バージョン");
    EXPECT_EQ(version.size(), QSize(twipsToPixels(5880), twipsToPixels(4950)));
    EXPECT_EQ(version.programNameFrame->title(), "プログラム名称");
    EXPECT_EQ(version.versionFrame->title(), "プログラムバージョン");
    EXPECT_EQ(version.disclaimerFrame->title(), "免責事項");
    EXPECT_EQ(version.programNameLabel->text(), u"音楽演奏プログラム\u3000\u3000ＭＥＬＶＯ");
    EXPECT_EQ(version.versionLabel->text(), u"バージョン\u3000V" MELVO_VERSION);
    EXPECT_EQ(version.disclaimerLabel->text(),
              "免責：このプログラムの使用により発生したいかなる問題や損害に対して、当方は一切責任"
              "を負いません。利用者の責任においてご利用願います。");
    EXPECT_EQ(version.closeButton->text(), "閉じる");

    // Each label sits in its frame, placed relative to it.
    EXPECT_EQ(version.programNameLabel->parentWidget(), version.programNameFrame);
    EXPECT_EQ(version.versionLabel->parentWidget(), version.versionFrame);
    EXPECT_EQ(version.disclaimerLabel->parentWidget(), version.disclaimerFrame);
    EXPECT_EQ(version.disclaimerLabel->pos(), QPoint(twipsToPixels(180), twipsToPixels(360)));

    // The disclaimer: red on yellow, wrapped within its label.
    EXPECT_TRUE(version.disclaimerLabel->wordWrap());
    EXPECT_TRUE(version.disclaimerLabel->autoFillBackground());
    EXPECT_EQ(version.disclaimerLabel->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(version.disclaimerLabel->palette().color(QPalette::Window), QColor(255, 255, 128));
}

TEST(VersionWindowTest, OneNonModalWindowThatClosingDiscards) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.onVersionMenuItemTriggered();
    QPointer<VersionWindow> first = window.versionWindow;
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isWindow());
    EXPECT_EQ(first->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Chosen again, also after being hidden: the same window comes back.
    first->hide();
    window.onVersionMenuItemTriggered();
    EXPECT_EQ(window.versionWindow, first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(window.findChildren<VersionWindow*>().size(), 1);

    QTest::mouseClick(first->closeButton, Qt::LeftButton);
    discardClosedWindows();
    EXPECT_FALSE(first);
    EXPECT_FALSE(window.versionWindow);
    EXPECT_TRUE(harness.launcher.opened.empty());

    // The close box discards it too; the next choice builds a new one.
    window.onVersionMenuItemTriggered();
    ASSERT_TRUE(window.versionWindow);
    window.versionWindow->close();
    discardClosedWindows();
    EXPECT_FALSE(window.versionWindow);
    window.onVersionMenuItemTriggered();
    ASSERT_TRUE(window.versionWindow);
    EXPECT_EQ(window.findChildren<VersionWindow*>().size(), 1);

    // Escape closes it like the button.
    QTest::keyClick(window.versionWindow, Qt::Key_Escape);
    discardClosedWindows();
    EXPECT_FALSE(window.versionWindow);
}

}  // namespace
}  // namespace melvo
