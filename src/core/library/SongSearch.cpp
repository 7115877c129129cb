// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/SongSearch.h"

#include <memory>

namespace melvo {

namespace {

SongSearch::Outcome search(SongSearch::Request request, SearchControl& control) {
    SongSearch::Outcome outcome;
    if (request.kind == SongSearch::Request::Kind::Folders) {
        FolderWalkResult walk = walkFolders(request.paths, control);
        outcome.cancelled = walk.cancelled;
        outcome.found = std::move(walk);
    } else {
        PlaylistRead playlist = readPlaylist(request.paths.front(), control);
        outcome.cancelled = playlist.cancelled;
        outcome.found = std::move(playlist);
    }
    outcome.request = std::move(request);
    return outcome;
}

}  // namespace

SongSearch::SongSearch(QObject* parent) : QObject(parent) {}

SongSearch::~SongSearch() {
    cancel();
    if (worker_.joinable()) worker_.join();
}

void SongSearch::start(Request request) {
    waiting_.push_back(std::move(request));
    if (!isRunning()) runNext();
}

void SongSearch::cancel() {
    waiting_.clear();
    control_.cancelled = true;
}

void SongSearch::runNext() {
    if (waiting_.empty()) return;
    Request request = std::move(waiting_.front());
    waiting_.pop_front();
    control_.cancelled = false;
    control_.found = 0;
    worker_ = std::thread([this, request = std::move(request)]() mutable {
        auto outcome = std::make_shared<Outcome>(search(std::move(request), control_));
        QMetaObject::invokeMethod(
            this, [this, outcome] { finish(std::move(*outcome)); }, Qt::QueuedConnection);
    });
    emit runningChanged(true);
}

// The outcome is told after the next search has started, so a message shown
// for it never holds up the searches that wait.
void SongSearch::finish(Outcome outcome) {
    worker_.join();
    runNext();
    if (!isRunning()) emit runningChanged(false);
    emit finished(outcome);
}

}  // namespace melvo
