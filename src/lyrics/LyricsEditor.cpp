#include "lyrics/LyricsEditor.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "lyrics/LyricsFile.h"
#include "lyrics/LyricsWindow.h"

namespace melvo {

LyricsEditor::LyricsEditor(MainWindow* main) : QWidget(main, Qt::Window), main_(main) {
    setUpLyricsWindow(this, "lyricsEditor", "歌詞登録", 6945);

    songCaptionLabel = new QLabel("曲名 ", this);
    songCaptionLabel->setObjectName(QStringLiteral("songCaptionLabel"));
    placeInTwips(songCaptionLabel, 90, 135, 510, 285);
    songPathLabel = new QLabel("songPathLabel", this);
    songPathLabel->setObjectName(QStringLiteral("songPathLabel"));
    placeInTwips(songPathLabel, 765, 90, 6045, 420);
    registerButton = new QPushButton("登録", this);
    registerButton->setObjectName(QStringLiteral("registerButton"));
    placeInTwips(registerButton, 5490, 8100, 915, 420);
    lyricsBox = makeLyricsBox(this, 315);
    connect(registerButton, &QPushButton::clicked, this, &LyricsEditor::onRegisterButtonClicked);
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
    Dialogs& dialogs = main_->services.dialogs;
    const std::string target = main_->lyricsEditTarget;
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
    main_->lyricsEditorOpen = 0;
    close();
}

void LyricsEditor::closeEvent(QCloseEvent* event) {
    // Closing by any means ends the editing; the typed text goes with the window.
    main_->lyricsEditorOpen = 0;
    if (main_->lyricsEditor == this) main_->lyricsEditor = nullptr;
    event->accept();
}

}  // namespace melvo
