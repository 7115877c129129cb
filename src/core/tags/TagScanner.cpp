// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/tags/TagScanner.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>
#include <unordered_map>

#include "core/tags/TagCache.h"

namespace melvo {

namespace {

using namespace std::chrono_literals;

// The longest a result waits before it is handed on, and the most handed on
// at once (the window turns each batch into rows between two of its frames).
constexpr auto kBatchInterval = 50ms;
constexpr size_t kMaxBatch = 10000;
// Songs a reading thread takes at once; most are answered from the cache.
constexpr size_t kTakeAtOnce = 32;

struct Result {
    ScannedSong song;
    std::optional<FileStamp> stamp;  // nothing: no such regular file
    bool fromCache = false;
};

}  // namespace

struct TagScanner::Shared {
    std::mutex mutex;
    std::condition_variable work;     // the reading threads wait here
    std::condition_variable results;  // the keeping thread waits here
    std::deque<std::string> pending;
    std::vector<Result> done;
    int reading = 0;  // songs taken and not yet done
    bool cacheLoaded = false;
    bool stop = false;
    bool readersEnded = false;
    // Filled once by the keeping thread before any song is read, then only read.
    std::unordered_map<std::string, CachedSong> cached;
};

TagScanner::TagScanner(std::string cacheFile, std::string readerId, SongInfoReading read,
                       QObject* parent)
    : QObject(parent),
      cacheFile_(std::move(cacheFile)),
      readerId_(std::move(readerId)),
      read_(std::move(read)),
      shared_(std::make_shared<Shared>()) {}

TagScanner::~TagScanner() { stopThreads(); }

void TagScanner::stopThreads() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->work.notify_all();
    for (std::thread& reader : readers_) reader.join();
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->readersEnded = true;
    }
    shared_->results.notify_all();
    if (keeper_.joinable()) keeper_.join();
}

void TagScanner::setReading(std::string readerId, SongInfoReading read,
                            const std::vector<std::string>& readAgain) {
    if (keeper_.joinable()) {
        stopThreads();
        readers_.clear();
        shared_ = std::make_shared<Shared>();
    }
    readerId_ = std::move(readerId);
    read_ = std::move(read);
    scan(readAgain);
}

void TagScanner::scan(const std::vector<std::string>& paths) {
    if (paths.empty() || !read_) return;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->pending.insert(shared_->pending.end(), paths.begin(), paths.end());
    }
    if (!keeper_.joinable()) {
        keeper_ = std::thread([this] { keep(); });
        // One processor stays for the window's thread.
        const unsigned cores = std::thread::hardware_concurrency();
        for (unsigned i = 0; i < std::clamp(cores, 2u, 5u) - 1; ++i)
            readers_.emplace_back([this] { read(); });
    }
    shared_->work.notify_all();
}

void TagScanner::read() {
    Shared& s = *shared_;
    std::unique_lock lock(s.mutex);
    std::vector<std::string> taken;
    std::vector<Result> results;
    for (;;) {
        s.work.wait(lock, [&s] { return s.stop || (s.cacheLoaded && !s.pending.empty()); });
        if (s.stop) return;
        const size_t count = std::clamp<size_t>(s.pending.size() / 8, 1, kTakeAtOnce);
        taken.assign(std::make_move_iterator(s.pending.begin()),
                     std::make_move_iterator(s.pending.begin() + static_cast<long>(count)));
        s.pending.erase(s.pending.begin(), s.pending.begin() + static_cast<long>(count));
        s.reading += static_cast<int>(count);
        lock.unlock();

        results.clear();
        for (std::string& path : taken) {
            Result& result = results.emplace_back();
            result.stamp = fileStamp(path);
            if (result.stamp) {
                const auto entry = s.cached.find(path);
                result.fromCache = entry != s.cached.end() && entry->second.stamp == *result.stamp;
                result.song.info = result.fromCache ? entry->second.info : read_(path);
            }
            result.song.path = std::move(path);
        }

        lock.lock();
        s.reading -= static_cast<int>(count);
        s.done.insert(s.done.end(), std::make_move_iterator(results.begin()),
                      std::make_move_iterator(results.end()));
        if ((s.pending.empty() && s.reading == 0) || s.done.size() >= kMaxBatch)
            s.results.notify_one();
    }
}

// Owns the cache: it is opened and loaded here, so that a slow or locked
// file keeps nothing else waiting, and written only here.
void TagScanner::keep() {
    Shared& s = *shared_;
    std::optional<TagCache> cache;
    if (!cacheFile_.empty()) cache.emplace(cacheFile_, readerId_);
    {
        auto cached = cache ? cache->loadAll() : std::unordered_map<std::string, CachedSong>();
        const std::lock_guard lock(s.mutex);
        s.cached = std::move(cached);
        s.cacheLoaded = true;
    }
    s.work.notify_all();

    std::unique_lock lock(s.mutex);
    for (;;) {
        s.results.wait_for(lock, kBatchInterval, [&s] {
            return s.readersEnded || s.done.size() >= kMaxBatch ||
                   (!s.done.empty() && s.pending.empty() && s.reading == 0);
        });
        std::vector<Result> batch;
        batch.swap(s.done);
        const bool ending = s.readersEnded;
        lock.unlock();

        if (!batch.empty()) {
            std::vector<std::pair<std::string, CachedSong>> entries;
            for (const Result& result : batch) {
                if (result.stamp && !result.fromCache)
                    entries.push_back({result.song.path, {*result.stamp, result.song.info}});
            }
            if (!ending) {
                auto songs = std::make_shared<std::vector<ScannedSong>>();
                songs->reserve(batch.size());
                for (Result& result : batch) songs->push_back(std::move(result.song));
                QMetaObject::invokeMethod(
                    this, [this, songs] { emit songsScanned(*songs); }, Qt::QueuedConnection);
            }
            if (cache) cache->store(entries);
        }
        if (ending) return;
        lock.lock();
    }
}

}  // namespace melvo
