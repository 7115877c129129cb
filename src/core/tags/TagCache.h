// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The tag cache: what the songs' tags said, kept in an SQLite file so that a
// later start shows them without reading the songs again. An entry holds for
// a file as long as its size and modification time stay the same. The cache
// is disposable: a damaged file is deleted and made anew; a locked,
// unwritable or full one is simply not used (or not written) in this run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/tags/SongInfo.h"

struct sqlite3;
struct sqlite3_stmt;

namespace melvo {

// What a file looked like when its tags were read.
struct FileStamp {
    std::int64_t size = -1;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at path; nothing when it is missing or no
// regular file.
std::optional<FileStamp> fileStamp(const std::string& path);

struct CachedSong {
    FileStamp stamp;
    std::optional<SongInfo> info;  // nothing: the file was read and has no tags
};

// Used from one thread at a time. Every call may wait up to busyTimeoutMs
// for another program that holds the file.
class TagCache {
  public:
    // Opens the cache file, or creates it. readerId names the reading that
    // filled it (the reader and its settings): entries of another reading
    // are dropped.
    TagCache(const std::string& file, const std::string& readerId, int busyTimeoutMs = 100);
    ~TagCache();
    TagCache(const TagCache&) = delete;
    TagCache& operator=(const TagCache&) = delete;

    // False when the cache cannot be used in this run (locked, unreadable,
    // in a folder that cannot hold it); reads then find nothing and writes
    // keep nothing.
    bool usable() const { return db_ != nullptr; }
    // Whether entries are still written: the first failed write (a full
    // disk, a read-only file, a lock held too long) ends writing.
    bool writable() const { return db_ != nullptr && writable_; }

    // Every entry, keyed by the path's bytes, in one query.
    std::unordered_map<std::string, CachedSong> loadAll();
    // Writes the entries in one transaction; false when they were not kept.
    bool store(const std::vector<std::pair<std::string, CachedSong>>& entries);

  private:
    enum class Opened { Ok, Damaged, Failed };
    Opened open();
    // Deletes a damaged file and makes it anew.
    void remake();
    bool exec(const char* sql);
    void close();

    std::string file_;
    std::string readerId_;
    int busyTimeoutMs_;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
    bool writable_ = true;
};

}  // namespace melvo
