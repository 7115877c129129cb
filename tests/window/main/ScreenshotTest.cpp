// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Renders the windows offscreen to PNG files under the build folder, so a
// person can look at them, and checks that the fixed texts fit their places.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>

#include "support/WindowHarness.h"
#include "window/common/Accessibility.h"
#include "window/lyrics/LyricsEditor.h"
#include "window/lyrics/LyricsWindow.h"
#include "window/main/VersionWindow.h"
#include "window/volume/VolumeWindow.h"

namespace melvo {
namespace {

QString screenshotFolder() {
    const QString folder = QStringLiteral(MELVO_BUILD_DIR "/screenshots");
    QDir().mkpath(folder);
    return folder;
}

void expectTextFits(const QLabel* label) {
    const int needed =
        label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
    EXPECT_LE(needed, label->height()) << label->objectName().toStdString();
    if (!label->wordWrap()) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->objectName().toStdString();
    }
}

// The look the program itself sets up: the Fusion style and the Japanese font.
class ScreenshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
    }
    void TearDown() override {
        QApplication::setStyle(QStyleFactory::create(styleName_));
        QApplication::setFont(font_);
    }

  private:
    QString styleName_ = QApplication::style()->name();
    QFont font_ = QApplication::font();
};

TEST_F(ScreenshotTest, VersionWindowTextsFitAndAreSaved) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.onVersionMenuItemTriggered();
    VersionWindow& version = *window.versionWindow;
    for (const QLabel* label :
         {version.programNameLabel, version.versionLabel, version.disclaimerLabel})
        expectTextFits(label);
    for (const QGroupBox* frame :
         {version.programNameFrame, version.versionFrame, version.disclaimerFrame}) {
        // The frame's caption clears the label inside it.
        const QLabel* inside = frame->findChild<QLabel*>();
        EXPECT_LE(QFontMetrics(frame->font()).height(), inside->y())
            << frame->objectName().toStdString();
    }
    const QPixmap shot = version.grab();
    EXPECT_TRUE(shot.save(QDir(screenshotFolder()).filePath("version-window.png")));
}

TEST_F(ScreenshotTest, MainWindowIsSaved) {
    test::WindowHarness harness;
    MainWindow& window = harness.start();
    window.show();
    const QPixmap shot = window.grab();
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QDir(screenshotFolder()).filePath("main-window.png")));
}

}  // namespace
}  // namespace melvo

namespace melvo {
namespace {

TEST_F(ScreenshotTest, SecondaryWindowsAreSaved) {
    test::WindowHarness harness;
    harness.writeFile("曲-サンプル.mp3", "mp3");
    harness.writeFile("曲-サンプル.txt", "一行目\r\n二行目\r\n");
    harness.writeFile("mvMP3.csv", harness.path("曲-サンプル.mp3") + "\r\n");
    MainWindow& window = harness.start();
    window.show();
    window.songListPanel->onSongListClicked();
    window.songListPanel->selectRow(0);
    window.songListPanel->onSongListClicked();
    window.lyricsPanel->showLyricsOnRequest();
    window.lyricsPanel->onRegisterLyricsMenuItemTriggered();
    window.volumePanel->onInitialVolumeMenuItemTriggered();
    const QDir folder(screenshotFolder());
    for (auto [widget, name] :
         {std::pair<QWidget*, const char*>{window.lyricsPanel->lyricsWindow, "lyrics-window"},
          {window.lyricsPanel->lyricsEditor, "lyrics-editor"},
          {window.volumePanel->volumeWindow, "volume-window"},
          {&window, "main-window-with-song"}}) {
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_TRUE(widget->grab().save(folder.filePath(QString(name) + ".png"))) << name;
    }
}

}  // namespace
}  // namespace melvo
