// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/common/TextFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <new>
#include <random>

namespace melvo {

bool isValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        unsigned minimum = 0;
        unsigned code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, minimum = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, minimum = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, minimum = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The converters to UTF-8 of one thread, each opened once: opening one loads
// its encoding's module afresh, which costs far more than converting a title,
// and the tag reader converts several texts of every song.
class Converters {
  public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        for (const auto& [encoding, converter] : open_)
            if (converter != kNoConverter) iconv_close(converter);
    }
    // The converter from encoding in its initial state; kNoConverter when
    // iconv has none.
    iconv_t from(const char* encoding) {
        for (const auto& [name, converter] : open_) {
            if (name != encoding) continue;
            if (converter != kNoConverter) iconv(converter, nullptr, nullptr, nullptr, nullptr);
            return converter;
        }
        return open_.emplace_back(encoding, iconv_open("UTF-8", encoding)).second;
    }

  private:
    std::vector<std::pair<std::string, iconv_t>> open_;
};

// Bytes in encoding (whose characters take units of unit bytes) to UTF-8.
// Bytes that are not of the encoding become a replacement character, or, when
// strict, make the whole conversion fail.
std::optional<std::string> convert(std::string_view bytes, const char* encoding, size_t unit,
                                   bool strict) {
    thread_local Converters converters;
    iconv_t converter = converters.from(encoding);
    if (converter == kNoConverter) {
        if (strict) return std::nullopt;
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() * 3 / 2 + 16);
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    bool valid = true;
    while (inLeft > 0 && valid) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: show a replacement character and go on.
            valid = !strict;
            out += "\xEF\xBF\xBD";
            const size_t skipped = std::min(unit, inLeft);
            in += skipped;
            inLeft -= skipped;
        }
    }
    if (!valid) return std::nullopt;
    return out;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::vector<std::string> splitLines(std::string_view text, LineEnds ends) {
    std::vector<std::string> lines;
    LineReader reader(text, ends);
    for (std::string_view line; reader.next(&line);) lines.emplace_back(line);
    return lines;
}

// The bytes of the UTF-8 character that starts with lead; 1 for a byte that
// starts none.
size_t sequenceLength(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

size_t wholeCharactersLength(std::string_view text, size_t limit, size_t start) {
    limit = std::min(limit, text.size());
    // The first byte of the character that holds the last byte kept lies at
    // most three bytes back.
    for (size_t lead = limit; lead > start && limit - lead < 4;) {
        --lead;
        if (isContinuationByte(text[lead])) continue;
        return limit - lead < sequenceLength(static_cast<unsigned char>(text[lead])) ? lead : limit;
    }
    return limit;
}

std::optional<std::string> fromCp932(std::string_view bytes) {
    return convert(bytes, "CP932", 1, true);
}

std::optional<std::string> fromEncoding(std::string_view bytes, const char* encoding, bool strict) {
    return convert(bytes, encoding, 1, strict);
}

std::string toUtf8(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : *convert(bytes, "CP932", 1, false);
}

std::string textFileToUtf8(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return toUtf8(bytes.substr(kUtf8Mark.size()));
    if (bytes.starts_with(kUtf16LeMark)) return *convert(bytes.substr(2), "UTF-16LE", 2, false);
    if (bytes.starts_with(kUtf16BeMark)) return *convert(bytes.substr(2), "UTF-16BE", 2, false);
    return toUtf8(bytes);
}

size_t wholeLinesLength(std::string_view bytes) {
    const bool littleEndian = bytes.starts_with(kUtf16LeMark);
    if (!littleEndian && !bytes.starts_with(kUtf16BeMark)) {
        const size_t lineEnd = bytes.find_last_of("\r\n");
        return lineEnd == std::string_view::npos ? wholeCharactersLength(bytes, bytes.size())
                                                 : lineEnd + 1;
    }
    // UTF-16: a line end is a whole unit of the two; a cut-off unit is left out.
    const size_t units = bytes.size() / 2;
    for (size_t unit = units - 1; unit > 0; --unit) {
        const char low = bytes[2 * unit + (littleEndian ? 0 : 1)];
        const char high = bytes[2 * unit + (littleEndian ? 1 : 0)];
        if (high == 0 && (low == '\r' || low == '\n')) return 2 * unit + 2;
    }
    return 2 * units;
}

int openRegularFile(const std::string& path, int* error) {
    // Without O_NONBLOCK opening a named pipe waits for a writer, for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    struct stat info {};
    const bool statted = ::fstat(fd, &info) == 0;
    if (!statted || !S_ISREG(info.st_mode)) {
        *error = statted ? 0 : errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

FileRead readRegularFile(const std::string& path, size_t limit) {
    using Status = FileRead::Status;
    FileRead result;
    const int fd = openRegularFile(path, &result.error);
    if (fd < 0) {
        result.status = result.error == 0 || result.error == ENXIO          ? Status::NotRegular
                        : result.error == ENOENT || result.error == ENOTDIR ? Status::Absent
                                                                            : Status::Failed;
        return result;
    }
    struct stat info {};
    ::fstat(fd, &info);
    try {
        result.bytes.reserve(std::min(static_cast<size_t>(info.st_size), limit));
        char buffer[1 << 16];
        for (;;) {
            const size_t room = limit - result.bytes.size();
            const ssize_t got = ::read(fd, buffer, room == 0 ? 1 : std::min(room, sizeof buffer));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                result.error = errno;
                break;
            }
            if (got == 0) break;
            if (room == 0) {
                result.cut = true;
                break;
            }
            result.bytes.append(buffer, static_cast<size_t>(got));
        }
    } catch (const std::bad_alloc&) {
        result.error = ENOMEM;
    }
    ::close(fd);
    if (result.error) {
        result.bytes = std::string();
        result.status = Status::Failed;
    } else {
        result.status = Status::Read;
    }
    return result;
}

std::optional<std::string> readTextFile(const std::string& path, size_t maxBytes) {
    FileRead file = readRegularFile(path, maxBytes);
    if (file.status != FileRead::Status::Read || file.cut) return std::nullopt;
    return textFileToUtf8(file.bytes);
}

bool LineReader::next(std::string_view* line) {
    if (start_ >= text_.size()) return false;
    const size_t end =
        std::min(text_.find_first_of(ends_ == LineEnds::Any ? "\r\n" : "\r", start_), text_.size());
    *line = text_.substr(start_, end - start_);
    start_ = end + 1;
    if (end < text_.size() && text_[end] == '\r' && start_ < text_.size() && text_[start_] == '\n')
        ++start_;
    return true;
}

std::vector<std::string> splitCrLines(std::string_view text) {
    return splitLines(text, LineEnds::Cr);
}

std::vector<std::string> splitAnyLines(std::string_view text) {
    return splitLines(text, LineEnds::Any);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == 0) return "/";
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::optional<std::string> linkTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof target) return std::nullopt;
        std::string named(target, static_cast<size_t>(length));
        current = named.front() == '/' ? named : folderOf(current) + "/" + named;
    }
    return std::nullopt;  // a circle of links
}

namespace {

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Makes a finished rename survive a crash of the whole system.
void syncFolderOf(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// The new file keeps who may read and write the old one.
void keepModeOf(const std::string& path, int fd) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        ::fchmod(fd, info.st_mode & 07777);
}

constexpr std::string_view kTemporaryPrefix = ".melvo-";
constexpr std::string_view kTemporarySuffix = ".tmp";
// Fresh names tried before giving up: each is taken only by a file planted
// at a random name, or by a leftover of a write cut short.
constexpr int kFreshNameAttempts = 16;

// Creates a new file to write at path; -1 with errno set when anything stands
// there already (EEXIST, also for a link, which is never followed).
int createNewFile(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
}

// What an earlier write of this user's left at a name: a regular file of this
// user's, no link.
bool isOwnLeftover(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

// Creates the temporary file for a replacement in folder and puts its path
// into *temporary: at designed when that is given and free once an own
// leftover is gone, else at a fresh name. -1 with errno set on failure.
int createTemporary(const std::string& folder, const std::string& designed,
                    std::string* temporary) {
    if (!designed.empty()) {
        if (isOwnLeftover(designed)) ::unlink(designed.c_str());
        *temporary = designed;
        const int fd = createNewFile(designed);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    for (int attempt = 0; attempt < kFreshNameAttempts; ++attempt) {
        *temporary = folder + "/" + std::string(kTemporaryPrefix) +
                     std::to_string(std::random_device{}()) + std::string(kTemporarySuffix);
        const int fd = createNewFile(*temporary);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

FileReplacement replaceFile(const std::string& path, std::string_view data,
                            const std::string& designedTemporary) {
    using Step = FileReplacement::Step;
    const std::optional<std::string> target = linkTarget(path);
    if (!target) return {Step::Rename, ELOOP};
    std::string temporary;
    const int fd = createTemporary(folderOf(*target), designedTemporary, &temporary);
    if (fd < 0) return {Step::WriteTemporary, errno};
    keepModeOf(*target, fd);
    bool written = writeAll(fd, data) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) written = false, error = errno;
    if (!written) {
        ::unlink(temporary.c_str());
        return {Step::WriteTemporary, error};
    }
    if (::rename(temporary.c_str(), target->c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return {Step::Rename, error};
    }
    syncFolderOf(*target);
    return {};
}

bool writeFileAtomically(const std::string& path, std::string_view data, int* error) {
    const FileReplacement result = replaceFile(path, data);
    if (!result.ok() && error) *error = result.error;
    return result.ok();
}

bool isLeftoverTemporaryName(std::string_view name) {
    if (!name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) return false;
    const std::string_view digits = name.substr(
        kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
    return !digits.empty() &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int removeLeftoverTemporaryFiles(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* item = ::readdir(dir)) {
        if (!isLeftoverTemporaryName(item->d_name)) continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && ::unlinkat(::dirfd(dir), item->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool fileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool folderExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace melvo
