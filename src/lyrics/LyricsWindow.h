// The lyrics window: the title, path and lyrics of one song, beside the main
// window. One instance, created on first use and discarded when closed.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace melvo {

class MainWindow;

class LyricsWindow : public QWidget {
    Q_OBJECT

  public:
    explicit LyricsWindow(MainWindow* main);

    // Shows text (CR LF line ends, as read from the lyrics file) in lyricsBox.
    void setLyrics(const std::string& text);
    // The text last given to setLyrics, line ends as given.
    const std::string& lyrics() const { return lyrics_; }

    // Closes and discards the window.
    void onCloseButtonClicked();

    QPlainTextEdit* lyricsBox;
    QLabel* songCaptionLabel;
    QLabel* songPathLabel;
    QPushButton* closeButton;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    MainWindow* main_;
    std::string lyrics_;
};

// What the lyrics window and the lyrics editor share: a window of its own,
// discarded when closed, with its name, title and fixed size in twips.
void setUpLyricsWindow(QWidget* window, const char* name, const QString& title, int widthTwips);

// The pale yellow, multi-line lyrics text box "lyricsBox" of either window, at
// leftTwips, 900 twips from the top.
QPlainTextEdit* makeLyricsBox(QWidget* window, int leftTwips);

// Moves a secondary window beside the main window's frame, never over it: to
// its right, or to its left when only that side has room on the screen. Its
// top is downTwips below the frame's top.
void placeBesideMainWindow(QWidget* window, const QWidget* main, int downTwips);

}  // namespace melvo
