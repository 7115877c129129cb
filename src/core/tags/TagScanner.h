// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Reads the songs' tags apart from the window: a few reading threads take
// the songs in the order asked, and one keeping thread owns the tag cache,
// answers from it the songs whose files have not changed, writes what was
// read in one transaction per batch and hands the results to this object's
// thread in batches, at most every 50 ms, so that a long list is not shown
// row by row.
#pragma once

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/tags/SongInfo.h"

namespace melvo {

// Reads the tags of the song at path; nothing when it has none or cannot be read.
using SongInfoReading = std::function<std::optional<SongInfo>(const std::string& path)>;

struct ScannedSong {
    std::string path;
    std::optional<SongInfo> info;  // nothing: no tags (or no such file)
};

class TagScanner : public QObject {
    Q_OBJECT

  public:
    // cacheFile: where the tag cache is kept (empty: no cache). readerId names
    // the reading and its settings; the cache drops entries of another one.
    TagScanner(std::string cacheFile, std::string readerId, SongInfoReading read,
               QObject* parent = nullptr);
    // Stops the threads; a song being read is finished, those waiting are not.
    ~TagScanner() override;

    // Replaces the reading. Without a reading (an empty function) no tags are
    // read and no cache is opened. Once scans have begun, the songs waiting
    // are dropped and readAgain is scanned with the new reading; the cache
    // then drops the entries of the old one.
    void setReading(std::string readerId, SongInfoReading read,
                    const std::vector<std::string>& readAgain = {});
    bool hasReading() const { return static_cast<bool>(read_); }
    // Asks for the tags of the songs; they come back through songsScanned.
    // The threads start with the first call. The reading runs on several
    // threads at once, each song on one.
    void scan(const std::vector<std::string>& paths);

  signals:
    // A batch of results, in the order the songs were read.
    void songsScanned(const std::vector<ScannedSong>& songs);

  private:
    struct Shared;
    void stopThreads();
    void keep();
    void read();

    std::string cacheFile_;
    std::string readerId_;
    SongInfoReading read_;
    std::shared_ptr<Shared> shared_;
    std::thread keeper_;
    std::vector<std::thread> readers_;
};

}  // namespace melvo
