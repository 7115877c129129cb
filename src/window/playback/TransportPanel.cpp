// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/playback/TransportPanel.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>

#include "core/common/Numbers.h"
#include "core/jukebox/Jukebox.h"
#include "window/common/Dialogs.h"
#include "window/common/ReadOut.h"

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

TransportPanel::TransportPanel(Controls controls, Jukebox& jukebox, Dialogs& dialogs,
                               QObject* parent)
    : QObject(parent), c_(controls), jukebox_(jukebox), dialogs_(dialogs) {
    setObjectName(QStringLiteral("transportPanel"));
    connect(c_.playButton, &QPushButton::clicked, &jukebox_, &Jukebox::play);
    connect(c_.pauseButton, &QPushButton::clicked, &jukebox_, &Jukebox::pause);
    connect(c_.resumeButton, &QPushButton::clicked, &jukebox_, &Jukebox::resume);
    connect(c_.stopButton, &QPushButton::clicked, &jukebox_, &Jukebox::stop);
    connect(c_.repeatBox, &QCheckBox::toggled, &jukebox_, &Jukebox::setRepeat);
    connect(&jukebox_.transport(), &Transport::repeatChanged, c_.repeatBox, &QCheckBox::setChecked);
    connect(c_.positionBar, &QScrollBar::valueChanged, this, &TransportPanel::onPositionBarChanged);
    connect(c_.positionBar, &QScrollBar::sliderReleased, this,
            &TransportPanel::onPositionBarChanged);

    const Transport& transport = jukebox_.transport();
    connect(&transport, &Transport::songLengthKnown, this, &TransportPanel::showSongLength);
    connect(&transport, &Transport::positionChanged, this, &TransportPanel::showPosition);
    connect(&transport, &Transport::outputFailed, this, [this](const QString& reason) {
        dialogs_.message(
            QStringLiteral("音声出力を開けませんでした。サウンドの設定を確認してください！\n（%1）")
                .arg(reason),
            MessageIcon::Exclamation);
    });
    connect(&jukebox_, &Jukebox::noSongChosen, this,
            [this] { dialogs_.message(QStringLiteral("演奏曲を選択指示してください")); });
}

// The length read-out, and the bar's maximum in whole seconds as it shows them.
void TransportPanel::showSongLength(double seconds) {
    showSeconds(c_.lengthLabel, seconds);
    moveBar(leadingWholeNumber(formatTenths(seconds)), c_.positionBar->value());
}

// The bar follows the song, except while the user holds its handle.
void TransportPanel::showPosition(double seconds, MediaMode mode) {
    showSeconds(c_.positionLabel, seconds);
    if (!c_.positionBar->isSliderDown()) {
        const int maximum = c_.positionBar->maximum();
        moveBar(maximum, seconds >= maximum ? maximum : roundHalfEven(seconds));
    }
    c_.playModeLabel->setText(modeText(mode));
}

// A lower maximum clamps the value: that too is the program's move.
void TransportPanel::moveBar(int maximum, int value) {
    movingBar_ = true;
    c_.positionBar->setMaximum(maximum);
    c_.positionBar->setValue(value);
    movingBar_ = false;
}

// The user moved the bar: the song goes on from that second. A drag is one
// move, made when the handle is let go; the song plays on while it is held.
void TransportPanel::onPositionBarChanged() {
    if (!movingBar_ && !c_.positionBar->isSliderDown()) jukebox_.seek(c_.positionBar->value());
}

}  // namespace melvo
