// The lyrics editor: the user writes or changes the selected song's lyrics
// and registers them as its lyrics file. One instance at a time.
#pragma once

#include <QString>
#include <QWidget>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace melvo {

class MainWindow;

class LyricsEditor : public QWidget {
    Q_OBJECT

  public:
    explicit LyricsEditor(MainWindow* main);

    // Shows text (CR LF line ends, as read from the lyrics file) in lyricsBox.
    void setLyrics(const std::string& text);
    // The text being edited, with LF line ends.
    std::string editedText() const;

    // Registers the text as the lyrics of the main window's edit target and
    // closes the editor; on failure tells the user and keeps editing.
    void onRegisterButtonClicked();

    QLabel* songCaptionLabel;
    QLabel* songPathLabel;
    QPushButton* registerButton;
    QPlainTextEdit* lyricsBox;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    MainWindow* main_;
};

}  // namespace melvo
