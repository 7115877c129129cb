// The version window: its fixed texts and colours, and one window at a time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

#include "app/VersionWindow.h"
#include "support/WindowHarness.h"

namespace melvo {
namespace {

void discardClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(VersionWindowTest, ShowsTheProgramNameVersionAndDisclaimerAsDesigned) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.MENU_HELP_VER_Click();
    ASSERT_TRUE(window.FORMVERSION);
    const VersionWindow& version = *window.FORMVERSION;

    EXPECT_EQ(version.windowTitle(), "バージョン");
    EXPECT_EQ(version.size(), QSize(twipsToPixels(5880), twipsToPixels(4950)));
    EXPECT_EQ(version.Frame1->title(), "プログラム名称");
    EXPECT_EQ(version.Frame2->title(), "プログラムバージョン");
    EXPECT_EQ(version.Frame3->title(), "免責事項");
    EXPECT_EQ(version.Label1->text(), u"音楽演奏プログラム\u3000\u3000ＭＥＬＶＯ");
    EXPECT_EQ(version.Label2->text(), u"バージョン\u3000V1.05");
    EXPECT_EQ(version.Label3->text(),
              "免責：このプログラムの使用により発生したいかなる問題や損害に対して、当方は一切責任"
              "を負いません。利用者の責任においてご利用願います。");
    EXPECT_EQ(version.Command1->text(), "閉じる");

    // Each label sits in its frame, placed relative to it.
    EXPECT_EQ(version.Label1->parentWidget(), version.Frame1);
    EXPECT_EQ(version.Label2->parentWidget(), version.Frame2);
    EXPECT_EQ(version.Label3->parentWidget(), version.Frame3);
    EXPECT_EQ(version.Label3->pos(), QPoint(twipsToPixels(180), twipsToPixels(360)));

    // The disclaimer: red on yellow, wrapped within its label.
    EXPECT_TRUE(version.Label3->wordWrap());
    EXPECT_TRUE(version.Label3->autoFillBackground());
    EXPECT_EQ(version.Label3->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(version.Label3->palette().color(QPalette::Window), QColor(255, 255, 128));
}

TEST(VersionWindowTest, OneNonModalWindowThatClosingDiscards) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.MENU_HELP_VER_Click();
    QPointer<VersionWindow> first = window.FORMVERSION;
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isWindow());
    EXPECT_EQ(first->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // Chosen again, also after being hidden: the same window comes back.
    first->hide();
    window.MENU_HELP_VER_Click();
    EXPECT_EQ(window.FORMVERSION, first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(window.findChildren<VersionWindow*>().size(), 1);

    QTest::mouseClick(first->Command1, Qt::LeftButton);
    discardClosedWindows();
    EXPECT_FALSE(first);
    EXPECT_FALSE(window.FORMVERSION);
    EXPECT_TRUE(harness.launcher.opened.empty());

    // The close box discards it too; the next choice builds a new one.
    window.MENU_HELP_VER_Click();
    ASSERT_TRUE(window.FORMVERSION);
    window.FORMVERSION->close();
    discardClosedWindows();
    EXPECT_FALSE(window.FORMVERSION);
    window.MENU_HELP_VER_Click();
    ASSERT_TRUE(window.FORMVERSION);
    EXPECT_EQ(window.findChildren<VersionWindow*>().size(), 1);

    // Escape closes it like the button.
    QTest::keyClick(window.FORMVERSION, Qt::Key_Escape);
    discardClosedWindows();
    EXPECT_FALSE(window.FORMVERSION);
}

}  // namespace
}  // namespace melvo
