// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/common/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace melvo {

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::message(const QString& text, MessageIcon icon) {
    QMessageBox box(qtIcon(icon), QStringLiteral("Melvo"), text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtDialogs::askYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Melvo"), text,
                    QMessageBox::Yes | QMessageBox::No, parent_);
    return box.exec() == QMessageBox::Yes;
}

QUrl QtDialogs::openFile(const QString& filter) {
    return QFileDialog::getOpenFileUrl(parent_, QString(), QUrl(), filter);
}

QList<QUrl> QtDialogs::openFiles(const QString& filter) {
    return QFileDialog::getOpenFileUrls(parent_, QString(), QUrl(), filter);
}

QUrl QtDialogs::openFolder() { return QFileDialog::getExistingDirectoryUrl(parent_); }

QUrl QtDialogs::saveFile(const QString& filter, const QString& extension) {
    QFileDialog dialog(parent_, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(extension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().isEmpty()) return QUrl();
    return dialog.selectedUrls().first();
}

}  // namespace melvo
