// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The version window: the program's name, its version and the disclaimer.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace melvo {

class VersionWindow : public QDialog {
    Q_OBJECT

  public:
    // A non-modal window over parent, discarded when it closes.
    explicit VersionWindow(QWidget* parent);

    void onCloseButtonClicked();

    QGroupBox* programNameFrame;
    QLabel* programNameLabel;
    QGroupBox* versionFrame;
    QLabel* versionLabel;
    QGroupBox* disclaimerFrame;
    QLabel* disclaimerLabel;
    QPushButton* closeButton;
};

}  // namespace melvo
