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
    setUpLyricsWindow(this, "kasi_setup", "歌詞登録", 6945);

    Label1 = new QLabel("曲名 ", this);
    Label1->setObjectName(QStringLiteral("Label1"));
    placeInTwips(Label1, 90, 135, 510, 285);
    Label2 = new QLabel("Label2", this);
    Label2->setObjectName(QStringLiteral("Label2"));
    placeInTwips(Label2, 765, 90, 6045, 420);
    Command1 = new QPushButton("登録", this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeInTwips(Command1, 5490, 8100, 915, 420);
    Text1 = makeLyricsBox(this, 315);
    connect(Command1, &QPushButton::clicked, this, &LyricsEditor::Command1_Click);
}

void LyricsEditor::setLyrics(const std::string& text) {
    Text1->setPlainText(QString::fromStdString(withLfLineEnds(text)));
}

std::string LyricsEditor::editedText() const {
    // The raw text keeps no-break spaces, which the plain-text form turns into
    // blanks; only its block separators need to become line ends.
    QString text = Text1->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return text.toStdString();
}

void LyricsEditor::Command1_Click() {
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
    if (main_->kasi_setup == this) main_->kasi_setup = nullptr;
    event->accept();
}

}  // namespace melvo
