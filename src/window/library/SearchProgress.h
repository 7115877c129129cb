// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A small window that shows a running song search: how many songs it has
// found so far, and a button that cancels it. It appears only when a search
// takes a noticeable time and goes when the searches end.
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace melvo {

class SongSearch;

class SearchProgress : public QWidget {
    Q_OBJECT

  public:
    SearchProgress(SongSearch& search, QWidget* window);

  protected:
    // Closing the window cancels the search as the button does.
    void closeEvent(QCloseEvent* event) override;

  private:
    void follow(bool running);
    void showCount();

    SongSearch& search_;
    QLabel* count_;
    QTimer* appear_;
    QTimer* refresh_;
};

}  // namespace melvo
