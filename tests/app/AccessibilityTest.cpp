// What a screen reader announces for the controls of the main window and the
// version window, read through Qt's accessibility interfaces.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTreeView>

#include "app/Accessibility.h"
#include "app/VersionWindow.h"
#include "support/WindowHarness.h"

namespace melvo {
namespace {

QString announced(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QStringLiteral("(no interface)");
}

TEST(AccessibilityTest, EveryMainWindowControlHasAName) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();

    const std::vector<std::pair<QWidget*, QString>> expected{
        {window.cmdPlay, "再生"},
        {window.cmdPause, "一時停止"},
        {window.cmdResume, "続行"},
        {window.cmdStop, "停止"},
        {window.Command1, "曲の追加"},
        {window.Command2, "曲の削除"},
        {window.Command3, "終了"},
        {window.Command4, "自動演奏"},
        {window.Command5, "次の曲"},
        {window.Command6, "前の曲"},
        {window.Command7, "歌詞の表示"},
        {window.Check1, "ランダム演奏"},
        {window.chkRepeat, "繰り返し再生"},
        {window.Slider1, "音量調整をします"},
        {window.ListView1, "エントリーされた曲の一覧"},
        {window.HScroll1, "演奏位置"},
        {window.Label1, "演奏中の曲名"},
        {window.Label3, "ボリューム調整"},
        {window.Label2, "演奏中の曲の表示"},
        {window.lblSoundStatus, "演奏の状況表示"},
        {window.lblPosition, "演奏経過時間"},
        {window.lblLength, "演奏時間"},
    };
    for (const auto& [widget, name] : expected)
        EXPECT_EQ(announced(widget), name) << widget->objectName().toStdString();
}

TEST(AccessibilityTest, ReadOutsAreAnnouncedWithWhatTheyShow) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();

    window.lblPosition->setText(QStringLiteral("12.3"));
    EXPECT_EQ(announced(window.lblPosition), "演奏経過時間 12.3");
    window.Label2->setText(QStringLiteral("/music/夏の歌.mp3"));
    EXPECT_EQ(announced(window.Label2), "演奏中の曲の表示 /music/夏の歌.mp3");
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.lblPosition);
    EXPECT_EQ(face->text(QAccessible::Value), "12.3");
    EXPECT_EQ(face->role(), QAccessible::StaticText);

    // A label with a fixed caption is announced by the caption alone.
    window.Label1->setToolTip(QStringLiteral("ignored"));
    EXPECT_EQ(announced(window.Label1), "演奏中の曲名");
}

TEST(AccessibilityTest, VersionWindowControlsAreNamedByTheirCaptions) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.MENU_HELP_VER_Click();
    VersionWindow& version = *window.FORMVERSION;
    EXPECT_EQ(announced(version.Frame1), "プログラム名称");
    EXPECT_EQ(announced(version.Frame3), "免責事項");
    EXPECT_EQ(announced(version.Label2), u"バージョン\u3000V1.05");
    EXPECT_EQ(announced(version.Command1), "閉じる");
    EXPECT_TRUE(announced(version.Label3).startsWith("免責："));
}

TEST(AccessibilityTest, CaptionlessControlsTakeTheLabelAboveThemAndKeepGivenNames) {
    QWidget form;
    auto* farLabel = new QLabel(QStringLiteral("遠いラベル"), &form);
    farLabel->setGeometry(10, 0, 200, 20);
    auto* label = new QLabel(QStringLiteral("ボリューム調整"), &form);
    label->setGeometry(10, 30, 200, 20);
    auto* beside = new QLabel(QStringLiteral("横のラベル"), &form);
    beside->setGeometry(300, 60, 100, 20);
    auto* slider = new QSlider(Qt::Horizontal, &form);
    slider->setGeometry(20, 60, 200, 30);
    auto* lonely = new QSlider(Qt::Horizontal, &form);
    lonely->setGeometry(500, 0, 100, 30);
    auto* named = new QPushButton(QStringLiteral("閉じる"), &form);
    named->setAccessibleName(QStringLiteral("バージョンを閉じる"));
    auto* keyed = new QPushButton(QStringLiteral("開く(&O)"), &form);
    auto* frame = new QGroupBox(QStringLiteral("&&枠"), &form);

    nameForScreenReaders(&form);
    EXPECT_EQ(announced(slider), "ボリューム調整");
    EXPECT_EQ(announced(named), "バージョンを閉じる");
    EXPECT_EQ(announced(keyed), "開く(O)");
    EXPECT_EQ(announced(frame), "&枠");
    // Nothing above it: it stays unnamed rather than taking a wrong name.
    EXPECT_TRUE(lonely->accessibleName().isEmpty());
}

}  // namespace
}  // namespace melvo
