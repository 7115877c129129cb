// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/Playlist.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "core/common/FileNames.h"
#include "core/library/SongListFile.h"

namespace melvo {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = asciiLower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string percentDecoded(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low < 0) {
            bytes += text[i];
            continue;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && hasExtension(a, b);
}

// A line that is a URL ("scheme://..."), not a path.
bool isUrl(std::string_view line) {
    const size_t colon = line.find("://");
    if (colon == std::string_view::npos || colon == 0) return false;
    return std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '+' || c == '-' || c == '.';
    });
}

// The path of a file:// URL on this machine; nothing for a URL of another
// kind or of another host.
std::optional<std::string> localUrlPath(std::string_view url) {
    if (!sameIgnoringCase(url.substr(0, 7), "file://")) return std::nullopt;
    url.remove_prefix(7);
    const size_t slash = std::min(url.find('/'), url.size());
    const std::string_view host = url.substr(0, slash);
    if (!host.empty() && !sameIgnoringCase(host, "localhost")) return std::nullopt;
    return percentDecoded(url.substr(slash));
}

// The path a line names: absolute as written; relative from the folder, with
// backslashes as folder separators.
std::string linePath(std::string_view line, const std::string& folder) {
    if (line.starts_with('/')) return std::string(line);
    std::string relative(line);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return lexicallyNormal(folder + "/" + relative);
}

class PlaylistReader {
  public:
    PlaylistReader(const std::string& path, SearchControl& control)
        : folder_(folderOf(lexicallyNormal(path))), control_(control) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) self_ = {info.st_dev, info.st_ino};
    }

    void read(std::string_view text, bool utf8, PlaylistRead& result) {
        if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
        LineReader lines(text, LineEnds::Any);
        for (std::string_view line; lines.next(&line);) {
            if (control_.cancelled.load(std::memory_order_relaxed)) {
                result.cancelled = true;
                return;
            }
            if (line.find_first_not_of(" \t") == std::string_view::npos || line.starts_with('#'))
                continue;
            take(line, utf8, result);
        }
    }

  private:
    void take(std::string_view line, bool utf8, PlaylistRead& result) {
        if (isUrl(line)) {
            const std::optional<std::string> path = localUrlPath(line);
            if (!path) return void(++result.others);
            return classify(*path, result);
        }
        std::string path = linePath(line, folder_);
        if (!utf8 && !isValidUtf8(line) && !exists(path)) {
            if (const std::optional<std::string> text = fromCp932(line)) {
                std::string converted = linePath(*text, folder_);
                if (exists(converted)) path = std::move(converted);
            }
        }
        classify(path, result);
    }

    // Songs are regular files whose names end in ".mp3", in any case, found
    // through links (a named pipe or a device is none). The playlist itself
    // is none under any name, also through a link. A path the list cannot
    // hold names no file.
    void classify(const std::string& path, PlaylistRead& result) {
        struct stat info {};
        if (!canBeListed(path) || ::stat(path.c_str(), &info) != 0) return void(++result.missing);
        if (info.st_dev == self_.first && info.st_ino == self_.second) return void(++result.itself);
        if (S_ISDIR(info.st_mode)) return void(++result.folders);
        if (!S_ISREG(info.st_mode) || !hasExtension(path, ".mp3")) return void(++result.others);
        result.songs.push_back(path);
        control_.found.fetch_add(1, std::memory_order_relaxed);
    }

    static bool exists(const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0;
    }

    std::string folder_;
    SearchControl& control_;
    std::pair<dev_t, ino_t> self_{};
};

}  // namespace

bool isPlaylistName(std::string_view name) {
    return hasExtension(name, ".m3u") || hasExtension(name, ".m3u8");
}

PlaylistRead readPlaylist(const std::string& path, SearchControl& control) {
    PlaylistRead result;
    FileRead file = readRegularFile(path, kMaxPlaylistBytes);
    result.status = file.status;
    result.error = file.error;
    if (file.status != FileRead::Status::Read) return result;
    if (file.cut) {
        result.tooLarge = true;
        return result;
    }
    const bool utf8 = hasExtension(path, ".m3u8") || isValidUtf8(file.bytes);
    PlaylistReader(path, control).read(file.bytes, utf8, result);
    return result;
}

std::string playlistText(const std::vector<std::string>& paths) {
    std::string folder;
    if (char* current = ::getcwd(nullptr, 0)) {
        folder = std::string(current) + '/';
        std::free(current);
    }
    std::string text = "#EXTM3U\n";
    size_t size = text.size();
    for (const std::string& path : paths) size += folder.size() + path.size() + 1;
    text.reserve(size);
    for (const std::string& path : paths) {
        if (!path.starts_with('/')) text += folder;
        text += path;
        text += '\n';
    }
    return text;
}

int writePlaylist(const std::string& path, const std::vector<std::string>& paths) {
    int error = 0;
    return writeFileAtomically(path, playlistText(paths), &error) ? 0 : error;
}

}  // namespace melvo
