// The transport panel: play, pause, resume, stop, the position bar, the three
// read-outs and the repeat box, drawn from what the player core reports.
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/ReadOut.h"
#include "common/Numbers.h"

namespace melvo {

namespace {

void showSeconds(ReadOut* readOut, double seconds) {
    readOut->setText(QString::fromStdString(formatTenths(seconds)));
}

QString modeText(MediaMode mode) {
    switch (mode) {
        case MediaMode::Playing:
            return QStringLiteral("PLAYING");
        case MediaMode::Paused:
            return QStringLiteral("PAUSED");
        case MediaMode::Stopped:
            return QStringLiteral("STOPPED");
        case MediaMode::Closed:
            break;
    }
    return QString();
}

}  // namespace

// Shows the song's length in lengthLabel and makes it the position bar's maximum.
void MainWindow::showSongLength(double seconds) {
    showSeconds(lengthLabel, seconds);
    // Lowering the maximum may move the bar, which seeks on a path not yet
    // open; that seek fails and the song starts from its beginning.
    positionBar->setMaximum(leadingWholeNumber(lengthLabel->text().toStdString()));
}

// The bar follows the song, except while the user holds its handle.
void MainWindow::showPosition(double seconds, MediaMode mode) {
    showSeconds(positionLabel, seconds);
    if (!positionBar->isSliderDown()) {
        updatingPositionBar_ = true;
        positionBar->setValue(seconds >= positionBar->maximum() ? positionBar->maximum()
                                                                : roundHalfEven(seconds));
        updatingPositionBar_ = false;
    }
    playModeLabel->setText(modeText(mode));
}

void MainWindow::onPlayButtonClicked() { jukebox.play(); }

void MainWindow::onPauseButtonClicked() { jukebox.pause(); }

// The resume button stays highlighted for a second.
void MainWindow::onResumeButtonClicked() {
    if (jukebox.resume()) lightForASecond(resumeButton);
}

void MainWindow::onStopButtonClicked() { jukebox.stop(); }

// The user moved the bar: the song goes on from that second. A drag is one
// move, made when the handle is let go; the song plays on while it is held.
void MainWindow::onPositionBarChanged() {
    if (!updatingPositionBar_ && !positionBar->isSliderDown()) jukebox.seek(positionBar->value());
}

void MainWindow::followPlayback() {
    connect(&jukebox, &Jukebox::playRequested, this, [this] {
        showLyricsForCurrentSong();
        showPlayingControls();
    });
    connect(&jukebox, &Jukebox::noSongChosen, this, [this] {
        services.dialogs.message(QStringLiteral("演奏曲を選択指示してください"));
        setBackColour(playButton, ButtonColour::Normal);
    });
    connect(&jukebox, &Jukebox::songLengthKnown, this, &MainWindow::showSongLength);
    connect(&jukebox, &Jukebox::songStarted, this, [this](int index) {
        selectRow(index);
        scrollToSelectedSong();
    });
    connect(&jukebox, &Jukebox::songPaused, this, &MainWindow::showPausedColours);
    connect(&jukebox, &Jukebox::songResumed, this, &MainWindow::showResumedColours);
    connect(&jukebox, &Jukebox::songStopped, this, &MainWindow::showStoppedControls);
    connect(&jukebox, &Jukebox::songEnded, this, &MainWindow::showSongEndedColours);
    connect(&jukebox, &Jukebox::positionChanged, this, &MainWindow::showPosition);
    connect(&jukebox, &Jukebox::outputFailed, this, [this](const QString& reason) {
        services.dialogs.message(
            QStringLiteral("音声出力を開けませんでした。サウンドの設定を確認してください！\n（%1）")
                .arg(reason),
            MessageIcon::Exclamation);
    });
}

}  // namespace melvo
