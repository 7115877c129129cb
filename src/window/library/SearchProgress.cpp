// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/library/SearchProgress.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/library/SongSearch.h"

namespace melvo {

namespace {

constexpr int kAppearAfterMs = 300;
constexpr int kRefreshMs = 100;

}  // namespace

SearchProgress::SearchProgress(SongSearch& search, QWidget* window)
    : QWidget(window, Qt::Dialog),
      search_(search),
      count_(new QLabel(this)),
      appear_(new QTimer(this)),
      refresh_(new QTimer(this)) {
    setObjectName(QStringLiteral("searchProgress"));
    setWindowTitle(QStringLiteral("Melvo"));
    auto* bar = new QProgressBar(this);
    bar->setRange(0, 0);  // no end known: the bar shows that work goes on
    auto* cancel = new QPushButton(QStringLiteral("中止"), this);
    cancel->setObjectName(QStringLiteral("cancelSearchButton"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(count_);
    layout->addWidget(bar);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    setMinimumWidth(320);

    appear_->setSingleShot(true);
    appear_->setInterval(kAppearAfterMs);
    refresh_->setInterval(kRefreshMs);
    connect(appear_, &QTimer::timeout, this, [this] {
        showCount();
        show();
    });
    connect(refresh_, &QTimer::timeout, this, &SearchProgress::showCount);
    connect(cancel, &QPushButton::clicked, &search_, &SongSearch::cancel);
    connect(&search_, &SongSearch::runningChanged, this, &SearchProgress::follow);
}

void SearchProgress::follow(bool running) {
    if (running) {
        if (!isVisible() && !appear_->isActive()) appear_->start();
        refresh_->start();
        return;
    }
    appear_->stop();
    refresh_->stop();
    hide();
}

void SearchProgress::showCount() {
    count_->setText(
        QStringLiteral("曲を探しています…　%1 曲見つかりました").arg(search_.foundSoFar()));
}

void SearchProgress::closeEvent(QCloseEvent* event) {
    search_.cancel();
    event->ignore();  // it goes when the search has ended
}

}  // namespace melvo
