// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The lyrics window: the title, path and lyrics of one song, beside the main
// window. One instance, created on first use and discarded when closed. Timed
// lyrics follow their song while it plays: the sung line is highlighted,
// kept in the middle of the box, and the text cursor stands at its start.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

#include "core/lyrics/TimedLyrics.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace melvo {

class Jukebox;

class LyricsWindow : public QWidget {
    Q_OBJECT

  public:
    LyricsWindow(QWidget* owner, const Jukebox& jukebox);

    // Shows the lyrics of the song at songPath (text with CR LF line ends, as
    // read from the lyrics file) in lyricsBox, without their time tags.
    void setLyrics(const std::string& text, const std::string& songPath);
    // The text shown: as given to setLyrics, or without the tags of timed lyrics.
    const std::string& lyrics() const { return timed_.text; }

    // Highlights the line sung at the position, when it is another than the
    // one highlighted; nothing for lyrics without times.
    void followPosition(double seconds);
    // The highlighted line, counted from 0; -1 for none.
    int sungLine() const { return sungLine_; }

    // Closes and discards the window.
    void onCloseButtonClicked();

    QPlainTextEdit* lyricsBox;
    QLabel* songCaptionLabel;
    QLabel* songPathLabel;
    QPushButton* closeButton;

  signals:
    // The window is closing; it is discarded.
    void closing();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showSungLine();

    QSize designedSize_;
    QRect designedBoxPlace_;
    QPoint designedClosePlace_;
    const Jukebox& jukebox_;
    std::string songPath_;
    TimedLyrics timed_;
    int sungLine_ = -1;
};

// What the lyrics window and the lyrics editor share: a window of its own,
// discarded when closed, with its name, title and fixed size in twips.
void setUpLyricsWindow(QWidget* window, const char* name, const QString& title, int widthTwips);

// The pale yellow, multi-line lyrics text box "lyricsBox" of either window, at
// leftTwips, 900 twips from the top.
QPlainTextEdit* makeLyricsBox(QWidget* window, int leftTwips);

// Moves a secondary window beside the main window's frame, never over it: to
// its right, or to its left when only that side has room on the screen. Its
// top is downTwips below the frame's top. Where neither side has room it is
// moved inside the main window's screen, wholly.
void placeBesideMainWindow(QWidget* window, const QWidget* main, int downTwips);

}  // namespace melvo
