// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/lyrics/LyricsEditor.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>

#include "core/jukebox/Jukebox.h"
#include "core/lyrics/LyricsFile.h"
#include "core/lyrics/TimedLyrics.h"
#include "window/common/Dialogs.h"
#include "window/common/ReadOut.h"
#include "window/common/Twips.h"
#include "window/lyrics/LyricsWindow.h"

namespace melvo {

LyricsEditor::LyricsEditor(QWidget* owner, const Jukebox& jukebox, Dialogs& dialogs)
    : QWidget(owner, Qt::Window), jukebox_(jukebox), dialogs_(dialogs) {
    setUpLyricsWindow(this, "lyricsEditor", "歌詞登録", 6945);

    songCaptionLabel = new QLabel("曲名 ", this);
    songCaptionLabel->setObjectName(QStringLiteral("songCaptionLabel"));
    placeInTwips(songCaptionLabel, 90, 135, 510, 285);
    songPathLabel = new QLabel(this);
    songPathLabel->setObjectName(QStringLiteral("songPathLabel"));
    placeInTwips(songPathLabel, 765, 90, 6045, 420);
    registerButton = new QPushButton("登録", this);
    registerButton->setObjectName(QStringLiteral("registerButton"));
    placeInTwips(registerButton, 5490, 8100, 915, 420);
    lyricsBox = makeLyricsBox(this, 315);
    positionLabel = new ReadOut(this);
    positionLabel->setObjectName(QStringLiteral("positionLabel"));
    placeInTwips(positionLabel, 315, 8160, 2400, 285);
    stampButton = new QPushButton("時刻記録 (F5)", this);
    stampButton->setObjectName(QStringLiteral("stampButton"));
    stampButton->setToolTip("演奏中の位置を、カーソルのある行の先頭に時刻として書き込みます");
    placeInTwips(stampButton, 3195, 8100, 1815, 420);
    // The text keeps the focus, so the cursor stays visible while tapping along.
    stampButton->setFocusPolicy(Qt::NoFocus);
    connect(registerButton, &QPushButton::clicked, this, &LyricsEditor::onRegisterButtonClicked);
    connect(stampButton, &QPushButton::clicked, this, &LyricsEditor::onStampButtonClicked);
    // A shortcut of the window, not of the button: the button's would wait for
    // its pressed look and stamp a tenth of a second late.
    connect(new QShortcut(Qt::Key_F5, this), &QShortcut::activated, this,
            &LyricsEditor::onStampButtonClicked);
    const Transport& transport = jukebox_.transport();
    connect(&transport, &Transport::positionChanged, this, &LyricsEditor::showPosition);
    showPosition(transport.position(), transport.mode());
}

void LyricsEditor::showPosition(double seconds, MediaMode mode) {
    const bool open = mode == MediaMode::Playing || mode == MediaMode::Paused;
    stampButton->setEnabled(open);
    const std::string tag = timeTag(seconds);
    positionLabel->setText(open
                               ? "演奏位置 " + QString::fromStdString(tag.substr(1, tag.size() - 2))
                               : "演奏位置 --:--.--");
}

void LyricsEditor::onStampButtonClicked() {
    const Transport& transport = jukebox_.transport();
    const MediaMode mode = transport.mode();
    if (mode == MediaMode::Playing || mode == MediaMode::Paused) stampLine(transport.position());
}

void LyricsEditor::stampLine(double seconds) {
    QTextCursor cursor = lyricsBox->textCursor();
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    // The line is replaced in one step, which one undo takes back.
    cursor.beginEditBlock();
    cursor.insertText(
        QString::fromStdString(withTimeTag(cursor.selectedText().toStdString(), seconds)));
    cursor.endEditBlock();
    cursor.movePosition(QTextCursor::NextBlock);
    lyricsBox->setTextCursor(cursor);
}

void LyricsEditor::setLyrics(const std::string& text) {
    lyricsBox->setPlainText(QString::fromStdString(withLfLineEnds(text)));
}

std::string LyricsEditor::editedText() const {
    // The raw text keeps no-break spaces, which the plain-text form turns into
    // blanks; only its block separators need to become line ends.
    QString text = lyricsBox->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return text.toStdString();
}

void LyricsEditor::onRegisterButtonClicked() {
    Dialogs& dialogs = dialogs_;
    const std::string target = target_;
    if (target.empty()) {
        // With no song there is no lyrics file to write, only a ".txt" in
        // whatever folder the program runs in.
        dialogs.message("曲が選択されていません。曲を選択してから歌詞登録をやり直してください");
        return;
    }
    const FileReplacement result = saveLyrics(target, editedText());
    if (result.failedStep == FileReplacement::Step::WriteTemporary) {
        dialogs.message("ファイル作成できませんでした" + QString::fromStdString(target + ".TMP"));
        return;
    }
    if (!result.ok()) {
        dialogs.message("歌詞データを登録できませんでした" +
                        QString::fromStdString(target + ".txt"));
        return;
    }
    close();
}

void LyricsEditor::closeEvent(QCloseEvent* event) {
    // Closing by any means ends the editing; the typed text goes with the window.
    emit closing();
    event->accept();
}

}  // namespace melvo
