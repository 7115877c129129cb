// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/FolderWalk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

#include "core/common/FileNames.h"
#include "core/library/SongListFile.h"

namespace melvo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The run of digits at text[at], without its leading zeros; at moves past it.
std::string_view digitRun(std::string_view text, size_t& at) {
    while (at < text.size() && text[at] == '0') ++at;
    const size_t start = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    return text.substr(start, at - start);
}

// Below 0 when a comes first in natural order, 0 when they tie.
int naturalCompare(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::string_view x = digitRun(a, i), y = digitRun(b, j);
            if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
            if (const int order = x.compare(y)) return order;
            continue;
        }
        const auto x = static_cast<unsigned char>(asciiLower(a[i++]));
        const auto y = static_cast<unsigned char>(asciiLower(b[j++]));
        if (x != y) return x < y ? -1 : 1;
    }
    return (i < a.size()) - (j < b.size());
}

std::string joined(const std::string& folder, std::string_view name) {
    std::string path = folder;
    if (!path.ends_with('/')) path += '/';
    path += name;
    return path;
}

enum class Kind { Song, Folder, Other };

// What a folder's item is, following a symbolic link; the listing's own type
// spares a look-up where it is known.
Kind kindOf(const std::string& folder, const dirent& item) {
    unsigned char type = item.d_type;
    if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat info {};
        if (::stat(joined(folder, item.d_name).c_str(), &info) != 0) return Kind::Other;
        type = S_ISREG(info.st_mode) ? DT_REG : S_ISDIR(info.st_mode) ? DT_DIR : DT_UNKNOWN;
    }
    if (type == DT_DIR) return Kind::Folder;
    return type == DT_REG && hasExtension(item.d_name, ".mp3") ? Kind::Song : Kind::Other;
}

class Walker {
  public:
    explicit Walker(SearchControl& control) : control_(control) {}

    void walk(const std::string& root) {
        std::vector<std::string> pending{lexicallyNormal(root)};
        while (!pending.empty() && !cancelled()) {
            const std::string folder = std::move(pending.back());
            pending.pop_back();
            std::vector<std::string> subfolders = visit(folder);
            for (auto name = subfolders.rbegin(); name != subfolders.rend(); ++name)
                pending.push_back(joined(folder, *name));
        }
    }

    // A long walk gives others time to remove what it found: only the songs
    // still there at its end are kept, each folder listed once more.
    FolderWalkResult take() {
        result_.cancelled = cancelled();
        ExistingFiles stillThere;
        std::erase_if(result_.songs, [&](const std::string& path) { return !stillThere(path); });
        return std::move(result_);
    }

  private:
    bool cancelled() const { return control_.cancelled.load(std::memory_order_relaxed); }

    // Collects the folder's songs; answers the names of its sub-folders in
    // natural order, none when the folder was walked before.
    std::vector<std::string> visit(const std::string& folder) {
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) {
            ++result_.unreadableFolders;
            return {};
        }
        std::vector<std::string> songs, subfolders;
        struct stat info {};
        if (::fstat(::dirfd(dir), &info) == 0 && seen_.emplace(info.st_dev, info.st_ino).second) {
            while (const dirent* item = ::readdir(dir)) {
                if (cancelled()) break;
                const std::string_view name = item->d_name;
                if (name == "." || name == "..") continue;
                const Kind kind = kindOf(folder, *item);
                if (kind != Kind::Other)
                    (kind == Kind::Song ? songs : subfolders).emplace_back(name);
            }
        }
        ::closedir(dir);
        std::sort(songs.begin(), songs.end(), naturalLess);
        std::sort(subfolders.begin(), subfolders.end(), naturalLess);
        for (const std::string& name : songs) take(joined(folder, name));
        return subfolders;
    }

    void take(std::string path) {
        if (!canBeListed(path)) {
            ++result_.unlistableNames;
            return;
        }
        result_.songs.push_back(std::move(path));
        control_.found.fetch_add(1, std::memory_order_relaxed);
    }

    SearchControl& control_;
    FolderWalkResult result_;
    std::set<std::pair<dev_t, ino_t>> seen_;
};

}  // namespace

bool naturalLess(std::string_view a, std::string_view b) {
    const int order = naturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}

FolderWalkResult walkFolders(const std::vector<std::string>& roots, SearchControl& control) {
    Walker walker(control);
    for (const std::string& root : roots) walker.walk(root);
    return walker.take();
}

}  // namespace melvo
