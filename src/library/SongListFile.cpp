#include "library/SongListFile.h"

#include <dirent.h>

#include <algorithm>

#include "common/Numbers.h"
#include "common/TextFile.h"

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

bool ExistingFiles::operator()(const std::string& path) {
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

}  // namespace melvo
