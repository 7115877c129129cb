// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The lyrics editor: the user writes or changes the selected song's lyrics
// and registers them as its lyrics file. One instance at a time. While a song
// plays the editor shows its position, and stamping (the button or F5) writes
// that position as a time tag at the start of the line under the cursor, so a
// song is timed by tapping along once.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "core/playback/MediaEngine.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace melvo {

class Dialogs;
class Jukebox;
class ReadOut;

class LyricsEditor : public QWidget {
    Q_OBJECT

  public:
    LyricsEditor(QWidget* owner, const Jukebox& jukebox, Dialogs& dialogs);

    // Shows text (CR LF line ends, as read from the lyrics file) in lyricsBox.
    void setLyrics(const std::string& text);
    // The text being edited, with LF line ends.
    std::string editedText() const;

    // The lyrics file's path without ".txt"; empty when the song has none.
    void setTarget(const std::string& target) { target_ = target; }
    const std::string& target() const { return target_; }

    // Registers the text as the lyrics of the target and
    // closes the editor; on failure tells the user and keeps editing.
    void onRegisterButtonClicked();

    // Stamps the line under the cursor with the playing song's position and
    // moves the cursor to the start of the next line; nothing without a song.
    void onStampButtonClicked();
    // Replaces the leading time tags of the line under the cursor by the one
    // for the position and moves the cursor to the start of the next line.
    void stampLine(double seconds);
    // Shows the playing song's position; stamping works only while there is one.
    void showPosition(double seconds, MediaMode mode);

    QLabel* songCaptionLabel;
    QLabel* songPathLabel;
    QPushButton* registerButton;
    QPlainTextEdit* lyricsBox;
    ReadOut* positionLabel;
    QPushButton* stampButton;

  signals:
    // The editor is closing; it is discarded with the typed text.
    void closing();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    const Jukebox& jukebox_;
    Dialogs& dialogs_;
    std::string target_;
};

}  // namespace melvo
