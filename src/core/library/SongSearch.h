// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Searching for songs apart from the window's thread: folders walked for MP3
// files, playlists read. One search runs at a time and later ones wait their
// turn; the window stays responsive, can cancel, and learns each search's
// outcome at its end, so what was found is added in one step.
#pragma once

#include <QObject>
#include <deque>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "core/library/FolderWalk.h"
#include "core/library/Playlist.h"

namespace melvo {

class SongSearch : public QObject {
    Q_OBJECT

  public:
    // Folders walked together, or one playlist read.
    struct Request {
        enum class Kind { Folders, Playlist };
        Kind kind;
        std::vector<std::string> paths;
    };
    struct Outcome {
        Request request;
        std::variant<FolderWalkResult, PlaylistRead> found;
        bool cancelled = false;  // nothing of it is to be added
    };

    explicit SongSearch(QObject* parent = nullptr);
    // Cancels what runs and waits for it.
    ~SongSearch() override;

    void start(Request request);
    // Stops the running search and drops those waiting.
    void cancel();
    bool isRunning() const { return worker_.joinable(); }
    // Songs the running search has found so far.
    int foundSoFar() const { return control_.found.load(std::memory_order_relaxed); }

  signals:
    // A search began while none ran, or the last one ended.
    void runningChanged(bool running);
    void finished(const SongSearch::Outcome& outcome);

  private:
    void runNext();
    void finish(Outcome outcome);

    std::deque<Request> waiting_;
    std::thread worker_;
    SearchControl control_;
};

}  // namespace melvo
