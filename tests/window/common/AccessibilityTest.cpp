// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
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

#include "support/WindowHarness.h"
#include "window/common/Accessibility.h"
#include "window/common/ReadOut.h"
#include "window/main/VersionWindow.h"

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
        {window.playButton, "再生"},
        {window.pauseButton, "一時停止"},
        {window.resumeButton, "続行"},
        {window.stopButton, "停止"},
        {window.addSongButton, "曲の追加"},
        {window.deleteSongButton, "曲の削除"},
        {window.exitButton, "終了"},
        {window.autoPlayButton, "自動演奏"},
        {window.nextSongButton, "次の曲"},
        {window.previousSongButton, "前の曲"},
        {window.showLyricsButton, "歌詞の表示"},
        {window.randomOrderBox, "ランダム演奏"},
        {window.repeatBox, "繰り返し再生"},
        {window.volumeSlider, "音量調整をします"},
        {window.songListView, "エントリーされた曲の一覧"},
        {window.positionBar, "演奏位置"},
        {window.songCaptionLabel, "演奏中の曲名"},
        {window.volumeCaptionLabel, "ボリューム調整"},
        {window.songPathLabel, "演奏中の曲の表示"},
        {window.playModeLabel, "演奏の状況表示"},
        {window.positionLabel, "演奏経過時間"},
        {window.lengthLabel, "演奏時間"},
    };
    for (const auto& [widget, name] : expected)
        EXPECT_EQ(announced(widget), name) << widget->objectName().toStdString();
}

TEST(AccessibilityTest, ReadOutsAreAnnouncedWithWhatTheyShow) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();

    window.positionLabel->setText(QStringLiteral("12.3"));
    EXPECT_EQ(announced(window.positionLabel), "演奏経過時間 12.3");
    window.songPathLabel->setText(QStringLiteral("/music/夏の歌.mp3"));
    EXPECT_EQ(announced(window.songPathLabel), "演奏中の曲の表示 /music/夏の歌.mp3");
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window.positionLabel);
    EXPECT_EQ(face->text(QAccessible::Value), "12.3");
    EXPECT_EQ(face->role(), QAccessible::StaticText);

    // A label with a fixed caption is announced by the caption alone.
    window.songCaptionLabel->setToolTip(QStringLiteral("ignored"));
    EXPECT_EQ(announced(window.songCaptionLabel), "演奏中の曲名");
}

TEST(AccessibilityTest, VersionWindowControlsAreNamedByTheirCaptions) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.onVersionMenuItemTriggered();
    VersionWindow& version = *window.versionWindow;
    EXPECT_EQ(announced(version.programNameFrame), "プログラム名称");
    EXPECT_EQ(announced(version.disclaimerFrame), "免責事項");
    EXPECT_EQ(announced(version.versionLabel), u"バージョン\u3000V" MELVO_VERSION);
    EXPECT_EQ(announced(version.closeButton), "閉じる");
    EXPECT_TRUE(announced(version.disclaimerLabel).startsWith("免責："));
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
