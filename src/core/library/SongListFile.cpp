// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/SongListFile.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "core/common/FileNames.h"
#include "core/common/Numbers.h"
#include "core/common/TextFile.h"

namespace melvo {

int countFields(std::string_view text) {
    if (text.empty()) return 0;
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), ','));
}

int countFirstLineFields(std::string_view fileText) {
    size_t start = 0;
    while (start < fileText.size()) {
        const size_t end = fileText.find('\r', start);
        const std::string_view line =
            fileText.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty()) return countFields(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
        if (start < fileText.size() && fileText[start] == '\n') ++start;
    }
    return 0;
}

std::string_view songFolder(std::string_view entry) {
    const size_t slash = entry.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : entry.substr(0, slash + 1);
}

bool ExistingFiles::operator()(const std::string& path) {
    if (!canBeListed(path)) return false;
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return fileExists(path);
    const std::string_view folderName = std::string_view(path).substr(0, slash + 1);
    if (!last_ || folderName != lastFolder_) {
        lastFolder_.assign(folderName);
        last_ = &folders_[lastFolder_];
        if (!last_->listed) {
            last_->listed = true;
            if (DIR* dir = ::opendir(lastFolder_.c_str())) {
                while (const dirent* item = ::readdir(dir)) {
                    if (item->d_type == DT_REG) {
                        last_->files.emplace(item->d_name);
                    } else if (item->d_type != DT_DIR) {
                        last_->others.emplace(item->d_name);
                    }
                }
                ::closedir(dir);
            } else {
                last_->listed = false;  // look every name up
            }
        }
    }
    if (!last_->listed) return fileExists(path);
    const std::string name = path.substr(slash + 1);
    if (last_->files.count(name)) return true;
    return last_->others.count(name) && fileExists(path);
}

namespace {

std::string withVolume(std::string_view path, std::string_view volumeText) {
    std::string entry;
    entry.reserve(path.size() + 1 + volumeText.size());
    entry.append(path).append(",").append(volumeText);
    return entry;
}

std::string blankLedVolume(std::string_view volumeText) {
    return blankLedNumber(leadingWholeNumber(volumeText));
}

}  // namespace

std::optional<std::string> songEntryForLine(const std::string& line, std::string_view initialVolume,
                                            const FileTest& exists) {
    const size_t lastComma = line.rfind(',');
    if (lastComma != std::string::npos && entryHasVolume(line) && exists(line.substr(0, lastComma)))
        return line;
    if (exists(line)) return songEntryFor(line, initialVolume);
    if (lastComma != std::string::npos) {
        std::string path = line.substr(0, lastComma);
        if (exists(path))
            return withVolume(path, blankLedVolume(std::string_view(line).substr(lastComma + 1)));
    }
    return std::nullopt;
}

std::string songEntryFor(const std::string& path, std::string_view initialVolume) {
    if (!entryHasVolume(path)) return path;
    return withVolume(path, blankLedVolume(initialVolume));
}

std::string songListText(const SongStore& store) {
    size_t size = 0;
    for (int i = 0; i < store.count(); ++i) size += store.entry(i).size() + 2;
    std::string text;
    text.reserve(size);
    for (int i = 0; i < store.count(); ++i) text.append(store.entry(i)).append("\r\n");
    return text;
}

std::optional<std::string> songEntryForRawLine(const std::string& line,
                                               std::string_view initialVolume,
                                               const FileTest& exists) {
    if (std::optional<std::string> entry = songEntryForLine(line, initialVolume, exists))
        return entry;
    if (isValidUtf8(line)) return std::nullopt;
    const std::optional<std::string> converted = fromCp932(line);
    if (!converted) return std::nullopt;
    return songEntryForLine(*converted, initialVolume, exists);
}

SongListLoad loadSongListFile(const std::string& path, std::string_view initialVolume,
                              const FileTest& exists, const FolderTest& folderThere) {
    SongListLoad load;
    FileRead file = readRegularFile(path, kMaxSongListBytes);
    switch (file.status) {
        case FileRead::Status::Absent:
            return load;
        case FileRead::Status::NotRegular:
        case FileRead::Status::Failed:
            load.status = SongListLoad::Status::Refused;
            load.error = file.error;
            return load;
        case FileRead::Status::Read:
            break;
    }
    if (file.cut) {
        load.status = SongListLoad::Status::TooLarge;
        return load;
    }
    load.status = SongListLoad::Status::Loaded;
    std::string_view text = file.bytes;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    LineReader lines(text, LineEnds::Any);
    // The songs of one folder stand together: its test is asked once for them.
    std::string lastFolder;
    bool lastFolderThere = true;
    for (std::string_view view; lines.next(&view);) {
        if (view.empty()) continue;  // hand-edited files may hold empty lines
        const std::string line(view);
        if (std::optional<std::string> entry = songEntryForRawLine(line, initialVolume, exists)) {
            load.entries.push_back(std::move(*entry));
            continue;
        }
        // A line of the old system is shown in its characters, not its bytes.
        const std::string shown = isValidUtf8(line) ? line : fromCp932(line).value_or(line);
        const std::string_view folder = songFolder(line);
        if (!folder.empty() && folder != lastFolder) {
            lastFolder.assign(folder);
            lastFolderThere = folderThere(lastFolder) ||
                              (shown != line && folderThere(std::string(songFolder(shown))));
        }
        if (!folder.empty() && !lastFolderThere) {
            load.unavailable.push_back(load.entries.size());
            load.entries.push_back(line);
        } else {
            load.missing.emplace_back(entryPath(shown));
        }
    }
    return load;
}

std::string songListBackupPath(const std::string& path) { return path + ".bak"; }

namespace {

// What to tell when the list file's place holds something that is no regular file.
int notRegularFileError(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
}

}  // namespace

int saveSongListFile(const std::string& path, const SongStore& store) {
    return writeSongListText(path, songListText(store), true).error;
}

SongListWrite writeSongListText(const std::string& path, const std::string& text, bool backUp) {
    const FileRead old = readRegularFile(path);
    if (old.status == FileRead::Status::Read && old.bytes == text) return {};
    if (old.status == FileRead::Status::NotRegular || old.status == FileRead::Status::Failed)
        return {old.error ? old.error : notRegularFileError(path)};
    int error = 0;
    if (backUp && old.status == FileRead::Status::Read &&
        !writeFileAtomically(songListBackupPath(path), old.bytes, &error))
        return {error};
    if (!writeFileAtomically(path, text, &error)) return {error};
    return {0, true};
}

constexpr std::string_view kUnlistableBytes("\r\n\0", 3);

bool canBeListed(std::string_view path) {
    return path.find_first_of(kUnlistableBytes) == std::string_view::npos;
}

std::string unlistableSongsMessage(const std::vector<std::string>& paths) {
    std::string shown = displayText(paths.front());
    std::replace_if(
        shown.begin(), shown.end(),
        [](char c) { return kUnlistableBytes.find(c) != std::string_view::npos; }, ' ');
    const std::string which =
        paths.size() == 1
            ? "このファイルは"
            : "このファイルとほか " + std::to_string(paths.size() - 1) + " 個のファイルは";
    return shown + "\n" + which +
           "名前に改行を含むため、曲の一覧に登録できません。"
           "ファイル名を変えてから追加してください";
}

std::string unavailableSongsMessage(const std::vector<std::string>& paths) {
    std::vector<std::string_view> folders;
    std::unordered_set<std::string_view> seen;
    for (const std::string& path : paths) {
        const std::string_view folder = songFolder(path);
        if (seen.insert(folder).second) folders.push_back(folder);
    }
    std::string text = "次のフォルダーが見つからないため、その中の " +
                       std::to_string(paths.size()) +
                       " 曲を再生できない曲として一覧に残します。\n"
                       "ドライブをつなぐと、また再生できます。";
    for (size_t i = 0; i < folders.size() && i < kMaxFoldersTold; ++i)
        text += "\n" + displayText(folders[i]);
    if (folders.size() > kMaxFoldersTold)
        text += "\nほか " + std::to_string(folders.size() - kMaxFoldersTold) + " か所";
    return text;
}

std::string refusedSongListMessage(const std::string& path, int error) {
    return displayText(path) + "を読み込めませんでした。（" + readFailureText(error) +
           "）\nこのファイルは書き換えずに残します。今回の曲の追加や削除は保存されません。";
}

std::string tooLargeSongListMessage(const std::string& path) {
    return displayText(path) +
           "は大きすぎるため読み込めません（64 MB まで）。\n"
           "このファイルは書き換えずに残します。Melvo を終了します。";
}

bool looksLikeMp3(std::string_view name) {
    return name.find(".MP3") != std::string_view::npos ||
           name.find(".mp3") != std::string_view::npos;
}

bool hasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) return false;
    const std::string_view end = name.substr(name.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(),
                      [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

bool isSongName(std::string_view name) { return looksLikeMp3(name) || hasExtension(name, ".mp3"); }

}  // namespace melvo
