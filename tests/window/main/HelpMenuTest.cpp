// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The help menu's help document and home page, over the launcher and dialog doubles.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "support/WindowHarness.h"
#include "window/main/HelpMenu.h"

namespace melvo {
namespace {

void writeHelp(const QString& folder) {
    QFile file(QDir(folder).filePath(QLatin1String(kHelpFileName)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html></html>");
}

int overrideCursorDepth() {
    // Pops every override cursor so the count is known, then puts them back.
    int depth = 0;
    QList<Qt::CursorShape> shapes;
    while (QApplication::overrideCursor()) {
        shapes.prepend(QApplication::overrideCursor()->shape());
        QApplication::restoreOverrideCursor();
        ++depth;
    }
    for (Qt::CursorShape shape : shapes) QApplication::setOverrideCursor(shape);
    return depth;
}

void runEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

class HelpMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHelpFolders({besideProgram.path(), installed.path()});
        harness.start();
    }
    void TearDown() override { setHelpFolders(QStringList{}); }

    QTemporaryDir besideProgram;
    QTemporaryDir installed;
    test::WindowHarness harness;
};

TEST_F(HelpMenuTest, OpensTheFirstHelpDocumentFoundBesideTheProgramBeforeTheInstalledOne) {
    writeHelp(installed.path());
    harness.window().onInstructionsMenuItemTriggered();
    ASSERT_EQ(harness.launcher.opened.size(), 1u);
    EXPECT_EQ(harness.launcher.opened[0],
              QUrl::fromLocalFile(installed.filePath(QLatin1String(kHelpFileName))));

    writeHelp(besideProgram.path());
    harness.window().onInstructionsMenuItemTriggered();
    ASSERT_EQ(harness.launcher.opened.size(), 2u);
    EXPECT_EQ(harness.launcher.opened[1],
              QUrl::fromLocalFile(besideProgram.filePath(QLatin1String(kHelpFileName))));
    EXPECT_TRUE(harness.launcher.opened[1].fragment().isEmpty());
    EXPECT_TRUE(harness.dialogs.messages.empty());
}

TEST_F(HelpMenuTest, MissingHelpDocumentOrViewerIsReportedWithThePath) {
    harness.window().onInstructionsMenuItemTriggered();
    EXPECT_TRUE(harness.launcher.opened.empty());
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0],
              "ヘルプファイルが見つかりません。" + besideProgram.filePath("melvo-help.html"));

    writeHelp(besideProgram.path());
    harness.launcher.result = false;
    harness.window().onInstructionsMenuItemTriggered();
    ASSERT_EQ(harness.dialogs.messages.size(), 2u);
    EXPECT_EQ(harness.dialogs.messages[1],
              "ヘルプを表示できませんでした。" + besideProgram.filePath("melvo-help.html"));
}

TEST_F(HelpMenuTest, HomePageOpensWithTheBusyCursorUntilTheBrowserTakesTheFocus) {
    const int before = overrideCursorDepth();
    harness.window().onHomePageMenuItemTriggered();
    ASSERT_EQ(harness.launcher.opened.size(), 1u);
    EXPECT_EQ(harness.launcher.opened[0], QUrl(QStringLiteral("https://melvo.example.jp/")));
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_TRUE(harness.dialogs.messages.empty());

    // The browser's window comes up and this program loses the focus.
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(overrideCursorDepth(), before);
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(overrideCursorDepth(), before);
}

TEST_F(HelpMenuTest, HomePageFailureRestoresTheCursorOnceAndSaysSo) {
    // Another busy cursor of the program's, which the home page must leave alone.
    QApplication::setOverrideCursor(Qt::PointingHandCursor);
    harness.launcher.result = false;
    harness.window().onHomePageMenuItemTriggered();
    ASSERT_EQ(harness.dialogs.messages.size(), 1u);
    EXPECT_EQ(harness.dialogs.messages[0],
              "ホームページを表示できませんでした。https://melvo.example.jp/");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);

    // The window keeps handling events; when the wait for the browser would
    // have ended, nothing is restored a second time.
    runEventsFor(kBrowserStartMilliseconds + 300);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(HelpMenuTest, BusyCursorComesBackAfterAWhileWhenTheFocusStays) {
    harness.window().onHomePageMenuItemTriggered();
    harness.window().onHomePageMenuItemTriggered();
    EXPECT_EQ(overrideCursorDepth(), 2);
    runEventsFor(kBrowserStartMilliseconds + 300);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(harness.launcher.opened.size(), 2u);
}

}  // namespace
}  // namespace melvo
