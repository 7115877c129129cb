// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/lyrics/LyricsWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTextBlock>

#include "core/jukebox/Jukebox.h"
#include "core/lyrics/LyricsFile.h"
#include "window/common/Twips.h"
#include "window/common/WindowPlaces.h"

namespace melvo {

namespace {

// The sung line's background: a deeper yellow than the box's.
const QColor kSungLineColour(255, 200, 64);

// The text for the box, one block for each line, so that line n of the lyrics
// is block n. A paragraph separator (and Qt's frame marks) would start a block
// of its own: it is shown as a line separator, which breaks the line on the
// screen only, and the marks as replacement characters.
QString boxText(const std::string& text) {
    QString shown = QString::fromStdString(withLfLineEnds(text));
    shown.replace(QChar::ParagraphSeparator, QChar::LineSeparator);
    for (const char16_t frameMark : {u'\xFDD0', u'\xFDD1'})
        shown.replace(QChar(frameMark), QChar::ReplacementCharacter);
    return shown;
}

}  // namespace

void setUpLyricsWindow(QWidget* window, const char* name, const QString& title, int widthTwips) {
    window->setObjectName(QLatin1String(name));
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFixedSize(twipsToPixels(widthTwips), twipsToPixels(8745));
}

QPlainTextEdit* makeLyricsBox(QWidget* window, int leftTwips) {
    auto* box = new QPlainTextEdit(window);
    box->setObjectName(QStringLiteral("lyricsBox"));
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QColor(255, 255, 192));
    box->setPalette(palette);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setAccessibleName("歌詞");
    placeInTwips(box, leftTwips, 900, 6450, 6765);
    return box;
}

void placeBesideMainWindow(QWidget* window, const QWidget* main, int downTwips) {
    const QRect frame = main->frameGeometry();
    const int top = frame.top() + twipsToPixels(downTwips);
    // A window not yet shown has no frame: count the main window's borders.
    const int width = window->width() + frame.width() - main->width();
    int left = frame.right() + 1;
    // On the left instead when the right side of the screen has no room for it.
    if (const QScreen* screen = main->screen()) {
        const QRect screenArea = screen->availableGeometry();
        if (left + width - 1 > screenArea.right() && frame.left() - width >= screenArea.left()) {
            left = frame.left() - width;
        }
    }
    QRect place(QPoint(left, top),
                QSize(width, window->height() + frame.height() - main->height()));
    if (const QScreen* screen = main->screen())
        place = movedInside(place, screen->availableGeometry());
    window->move(place.topLeft());
}

LyricsWindow::LyricsWindow(QWidget* owner, const Jukebox& jukebox)
    : QWidget(owner, Qt::Window), jukebox_(jukebox) {
    setUpLyricsWindow(this, "lyricsWindow", "歌詞表示", 6915);
    // The window grows from its designed size; it shows lyrics beside the
    // song without taking the keyboard from where the user types.
    designedSize_ = size();
    setMinimumSize(designedSize_);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setAttribute(Qt::WA_ShowWithoutActivating);

    // Created in tab order: the text first, then the button.
    lyricsBox = makeLyricsBox(this, 270);
    lyricsBox->setReadOnly(true);
    designedBoxPlace_ = lyricsBox->geometry();
    songCaptionLabel = new QLabel("曲名 ", this);
    songCaptionLabel->setObjectName(QStringLiteral("songCaptionLabel"));
    placeInTwips(songCaptionLabel, 135, 180, 510, 285);
    songPathLabel = new QLabel(this);
    songPathLabel->setObjectName(QStringLiteral("songPathLabel"));
    placeInTwips(songPathLabel, 765, 135, 6045, 420);
    closeButton = new QPushButton("終了", this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    placeInTwips(closeButton, 5445, 8055, 1005, 510);
    designedClosePlace_ = closeButton->pos();
    connect(closeButton, &QPushButton::clicked, this, &LyricsWindow::onCloseButtonClicked);
    const Transport& transport = jukebox_.transport();
    connect(&transport, &Transport::positionChanged, this, [this](double seconds) {
        if (timed_.timed() && jukebox_.transport().currentPath() == songPath_)
            followPosition(seconds);
    });
}

void LyricsWindow::setLyrics(const std::string& text, const std::string& songPath) {
    songPath_ = songPath;
    timed_ = parseTimedLyrics(text);
    sungLine_ = -1;
    lyricsBox->setExtraSelections({});
    lyricsBox->setPlainText(boxText(timed_.text));
}

void LyricsWindow::followPosition(double seconds) {
    const int line = lineAt(timed_, seconds);
    if (line == sungLine_) return;
    sungLine_ = line;
    showSungLine();
}

// Only the highlight and the cursor change, once per line: the text stays.
void LyricsWindow::showSungLine() {
    const QTextBlock block = lyricsBox->document()->findBlockByNumber(sungLine_);
    if (sungLine_ < 0 || !block.isValid()) {
        lyricsBox->setExtraSelections({});
        return;
    }
    QTextEdit::ExtraSelection sung;
    sung.cursor = QTextCursor(block);
    sung.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    sung.format.setBackground(kSungLineColour);
    sung.format.setProperty(QTextFormat::FullWidthSelection, true);
    lyricsBox->setExtraSelections({sung});
    lyricsBox->setTextCursor(QTextCursor(block));
    lyricsBox->centerCursor();
}

void LyricsWindow::onCloseButtonClicked() { close(); }

// The text takes the room a larger window gives; the button keeps its place,
// counted from the bottom right.
void LyricsWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize extra = size() - designedSize_;
    lyricsBox->setGeometry(designedBoxPlace_.adjusted(0, 0, extra.width(), extra.height()));
    closeButton->move(designedClosePlace_ + QPoint(extra.width(), extra.height()));
}

void LyricsWindow::closeEvent(QCloseEvent* event) {
    // The window goes away (WA_DeleteOnClose); the next use builds a new one.
    emit closing();
    event->accept();
}

}  // namespace melvo
