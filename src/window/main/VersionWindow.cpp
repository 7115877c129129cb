// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/main/VersionWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "window/common/Accessibility.h"
#include "window/common/Twips.h"

namespace melvo {

namespace {

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect twips) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    placeInTwips(frame, twips.x(), twips.y(), twips.width(), twips.height());
    return frame;
}

QLabel* makeLabel(QWidget* frame, const char* name, const QString& caption, QRect twips) {
    auto* label = new QLabel(caption, frame);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeInTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

// Fonts with tall lines (the Japanese desktop fonts here) need more room for
// the wrapped disclaimer than its designed place offers: its letters are made
// smaller, not its place larger, down to a size that still reads.
void fitWrappedText(QLabel* label) {
    QFont font = label->font();
    while (label->heightForWidth(label->width()) > label->height() && font.pointSizeF() > 6.5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

}  // namespace

VersionWindow::VersionWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("versionWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("バージョン"));
    setFixedSize(twipsToPixels(5880), twipsToPixels(4950));

    programNameFrame = makeFrame(this, "programNameFrame", QStringLiteral("プログラム名称"),
                                 {495, 225, 4110, 1050});
    programNameLabel =
        makeLabel(programNameFrame, "programNameLabel",
                  QStringLiteral("音楽演奏プログラム　　ＭＥＬＶＯ"), {315, 360, 3480, 375});
    versionFrame = makeFrame(this, "versionFrame", QStringLiteral("プログラムバージョン"),
                             {495, 1575, 4110, 1095});
    versionLabel = makeLabel(versionFrame, "versionLabel",
                             QStringLiteral("バージョン　V" MELVO_VERSION), {180, 405, 3705, 420});
    disclaimerFrame =
        makeFrame(this, "disclaimerFrame", QStringLiteral("免責事項"), {495, 2880, 4110, 1365});
    disclaimerLabel =
        makeLabel(disclaimerFrame, "disclaimerLabel",
                  QStringLiteral("免責：このプログラムの使用により発生したいかなる問題や損害"
                                 "に対して、当方は一切責任を負いません。利用者の責任において"
                                 "ご利用願います。"),
                  {180, 360, 3750, 735});
    disclaimerLabel->setWordWrap(true);
    disclaimerLabel->setAutoFillBackground(true);
    QPalette colours = disclaimerLabel->palette();
    colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    colours.setColor(QPalette::Window, QColor(255, 255, 128));
    disclaimerLabel->setPalette(colours);
    fitWrappedText(disclaimerLabel);

    closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    placeInTwips(closeButton, 4950, 4050, 825, 465);
    connect(closeButton, &QPushButton::clicked, this, &VersionWindow::onCloseButtonClicked);

    // Tab order as designed: the three frames, the button, then the labels.
    const QList<QWidget*> tabOrder{programNameFrame, versionFrame, disclaimerFrame, closeButton,
                                   programNameLabel, versionLabel, disclaimerLabel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    closeButton->setFocus();

    nameForScreenReaders(this);
}

void VersionWindow::onCloseButtonClicked() { close(); }

}  // namespace melvo
