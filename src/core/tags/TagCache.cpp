// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/tags/TagCache.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

namespace melvo {

namespace {

// Raised when the table's columns change; a file of another version is made anew.
constexpr int kSchemaVersion = 1;

bool isDamage(int rc) {
    const int primary = rc & 0xff;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                : std::string();
}

void bindText(sqlite3_stmt* statement, int column, const std::string& text) {
    sqlite3_bind_text(statement, column, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

void removeCacheFiles(const std::string& file) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::remove((file + suffix).c_str());
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileStamp{
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

TagCache::TagCache(const std::string& file, const std::string& readerId, int busyTimeoutMs)
    : file_(file), readerId_(readerId), busyTimeoutMs_(busyTimeoutMs) {
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
    if (open() == Opened::Damaged) remake();
}

void TagCache::remake() {
    close();
    removeCacheFiles(file_);
    if (open() != Opened::Ok) close();
}

TagCache::~TagCache() { close(); }

void TagCache::close() {
    sqlite3_finalize(insert_);
    insert_ = nullptr;
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool TagCache::exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

TagCache::Opened TagCache::open() {
    const std::string& file = file_;
    const std::string& readerId = readerId_;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        close();
        return Opened::Failed;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    // The first statement reads the file's header: a file that is no
    // database, or a damaged one, shows here.
    int rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (isDamage(rc)) return Opened::Damaged;
    if (rc != SQLITE_OK) {
        close();
        return Opened::Failed;
    }
    exec("PRAGMA synchronous=NORMAL");

    sqlite3_stmt* version = nullptr;
    rc = sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &version, nullptr);
    int schema = 0;
    if (rc == SQLITE_OK && (rc = sqlite3_step(version)) == SQLITE_ROW) {
        schema = sqlite3_column_int(version, 0);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(version);
    if (isDamage(rc)) return Opened::Damaged;
    if (rc != SQLITE_OK) {
        close();
        return Opened::Failed;
    }

    // A file of this version is only read here, so that another program's
    // lock on it still lets the entries be read.
    const std::string setUp =
        "DROP TABLE IF EXISTS songs; DROP TABLE IF EXISTS reading;"
        "CREATE TABLE songs(path BLOB PRIMARY KEY, size INTEGER NOT NULL,"
        " modified INTEGER NOT NULL, tagged INTEGER NOT NULL, title TEXT, artist TEXT,"
        " album TEXT, album_artist TEXT, track INTEGER, year INTEGER, length_ms INTEGER)"
        " WITHOUT ROWID;"
        "CREATE TABLE reading(id TEXT NOT NULL);"
        "PRAGMA user_version=" +
        std::to_string(kSchemaVersion) + ";";
    sqlite3_stmt* reading = nullptr;
    if (schema != kSchemaVersion) rc = sqlite3_exec(db_, setUp.c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db_, "SELECT id FROM reading", -1, &reading, nullptr);
    std::string storedId;
    bool haveId = false;
    if (rc == SQLITE_OK && (rc = sqlite3_step(reading)) == SQLITE_ROW) {
        storedId = columnText(reading, 0);
        haveId = true;
    }
    sqlite3_finalize(reading);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW) rc = SQLITE_OK;
    if (rc == SQLITE_OK && (!haveId || storedId != readerId)) {
        // What another reading found is not what this one would find.
        sqlite3_stmt* setId = nullptr;
        rc = sqlite3_exec(db_, "BEGIN IMMEDIATE; DELETE FROM songs; DELETE FROM reading;", nullptr,
                          nullptr, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_prepare_v2(db_, "INSERT INTO reading(id) VALUES(?)", -1, &setId, nullptr);
        if (rc == SQLITE_OK) {
            bindText(setId, 1, readerId);
            rc = sqlite3_step(setId) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db_);
        }
        sqlite3_finalize(setId);
        if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) exec("ROLLBACK");
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO songs VALUES(?,?,?,?,?,?,?,?,?,?,?)",
                                -1, &insert_, nullptr);
    if (isDamage(rc)) return Opened::Damaged;
    if (rc != SQLITE_OK) {
        close();
        return Opened::Failed;
    }
    return Opened::Ok;
}

std::unordered_map<std::string, CachedSong> TagCache::loadAll() {
    std::unordered_map<std::string, CachedSong> songs;
    if (!db_) return songs;
    sqlite3_stmt* select = nullptr;
    int rc = sqlite3_prepare_v2(db_,
                                "SELECT path, size, modified, tagged, title, artist, album,"
                                " album_artist, track, year, length_ms FROM songs",
                                -1, &select, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(select)) == SQLITE_ROW) {
        rc = SQLITE_OK;
        const auto* path = static_cast<const char*>(sqlite3_column_blob(select, 0));
        CachedSong& song = songs[std::string(path ? path : "",
                                             static_cast<size_t>(sqlite3_column_bytes(select, 0)))];
        song.stamp = {sqlite3_column_int64(select, 1), sqlite3_column_int64(select, 2)};
        if (sqlite3_column_int(select, 3) == 0) continue;
        song.info = SongInfo{columnText(select, 4),           columnText(select, 5),
                             columnText(select, 6),           columnText(select, 7),
                             sqlite3_column_int(select, 8),   sqlite3_column_int(select, 9),
                             sqlite3_column_int64(select, 10)};
    }
    sqlite3_finalize(select);
    if (rc == SQLITE_DONE) return songs;
    // A damaged file is made anew, for this run's writes; anything else
    // (another program's lock) leaves the file to that program.
    if (isDamage(rc)) {
        remake();
    } else {
        writable_ = false;
    }
    return {};
}

bool TagCache::store(const std::vector<std::pair<std::string, CachedSong>>& entries) {
    if (!writable() || entries.empty()) return writable();
    bool ok = exec("BEGIN IMMEDIATE");
    for (size_t i = 0; ok && i < entries.size(); ++i) {
        const auto& [path, song] = entries[i];
        sqlite3_reset(insert_);
        sqlite3_clear_bindings(insert_);
        sqlite3_bind_blob(insert_, 1, path.data(), static_cast<int>(path.size()), SQLITE_STATIC);
        sqlite3_bind_int64(insert_, 2, song.stamp.size);
        sqlite3_bind_int64(insert_, 3, song.stamp.modifiedNs);
        sqlite3_bind_int(insert_, 4, song.info ? 1 : 0);
        if (const std::optional<SongInfo>& info = song.info) {
            bindText(insert_, 5, info->title);
            bindText(insert_, 6, info->artist);
            bindText(insert_, 7, info->album);
            bindText(insert_, 8, info->albumArtist);
            sqlite3_bind_int(insert_, 9, info->trackNumber);
            sqlite3_bind_int(insert_, 10, info->year);
            sqlite3_bind_int64(insert_, 11, info->lengthMs);
        }
        ok = sqlite3_step(insert_) == SQLITE_DONE;
    }
    sqlite3_reset(insert_);
    sqlite3_clear_bindings(insert_);
    if (ok) ok = exec("COMMIT");
    if (!ok) {
        exec("ROLLBACK");
        writable_ = false;
    }
    return ok;
}

}  // namespace melvo
