#include "lyrics/LyricsFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/TextFile.h"

namespace melvo {

namespace {

// Characters (not bytes) of UTF-8 text before byte offset end.
size_t charactersBefore(const std::string& text, size_t end) {
    size_t count = 0;
    for (size_t i = 0; i < end; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++count;
    }
    return count;
}

// Characters before byte offset at, -1 for no match.
long characterPosition(const std::string& text, size_t at) {
    return at == std::string::npos ? -1 : static_cast<long>(charactersBefore(text, at));
}

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

// Makes a finished rename last through a crash; failing to is not an error.
void syncFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::optional<std::string> lyricsStem(const std::string& songPath) {
    size_t at = songPath.find(".mp3");
    long p = characterPosition(songPath, at);
    if (p <= 0) {
        at = songPath.find(".MP3");
        p = characterPosition(songPath, at);
    }
    if (p <= 1) return std::nullopt;
    return songPath.substr(0, at);
}

std::optional<std::string> lyricsFileFor(const std::string& songPath) {
    std::optional<std::string> stem = lyricsStem(songPath);
    if (!stem) return std::nullopt;
    return *stem + ".txt";
}

std::optional<std::string> readLyricsText(const std::string& lyricsPath) {
    if (!fileExists(lyricsPath)) return std::nullopt;
    std::optional<std::string> content = readTextFile(lyricsPath);
    if (!content) return std::nullopt;
    std::string text;
    text.reserve(content->size() + 64);
    for (const std::string& line : splitCrLines(*content)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string lyricsTitleFor(const std::string& songPath) {
    std::string title = songPath.substr(songPath.rfind('/') + 1);
    const size_t hyphen = title.find('-');
    if (hyphen != std::string::npos) title.erase(0, hyphen + 1);
    return title;
}

std::string withCrLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string withLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += '\n';
        } else {
            out += text[i];
        }
    }
    return out;
}

LyricsSaveResult saveLyrics(const std::string& target, std::string_view text) {
    using Status = LyricsSaveResult::Status;
    const std::string temporary = target + ".TMP";
    const std::string lyricsFile = target + ".txt";
    const std::string data = withCrLfLineEnds(text) + "\r\n";

    ::unlink(temporary.c_str());  // a leftover from an earlier run; absent is fine
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return {Status::TemporaryNotWritten, temporary, std::strerror(errno)};
    bool written = writeAll(fd, data) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) written = false, error = errno;
    if (!written) {
        ::unlink(temporary.c_str());
        return {Status::TemporaryNotWritten, temporary, std::strerror(error)};
    }
    // rename replaces the old lyrics in one step: there is no moment without them.
    if (::rename(temporary.c_str(), lyricsFile.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return {Status::NotRenamed, lyricsFile, std::strerror(error)};
    }
    syncFolderOf(lyricsFile);
    return {};
}

}  // namespace melvo
