#include "lyrics/SongLyrics.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "common/TextFile.h"

namespace melvo {

namespace {

struct HandleCloser {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};
using Handle = std::unique_ptr<mpg123_handle, HandleCloser>;

// The text of the first USLT frame in the tag, UTF-8 as libmpg123 gives it.
std::optional<std::string> firstLyricsFrame(const mpg123_id3v2& tag) {
    for (size_t i = 0; i < tag.texts; ++i) {
        const mpg123_text& frame = tag.text[i];
        if (std::memcmp(frame.id, "USLT", 4) != 0 || frame.text.p == nullptr) continue;
        const std::string text(frame.text.p, frame.text.fill);
        return text.substr(0, text.find('\0'));
    }
    return std::nullopt;
}

// Tags larger than this (pictures, mostly) are not read for their lyrics:
// libmpg123 would read all of them, and the window would wait.
constexpr size_t kMaxTagBytes = size_t{16} << 20;

// The size of the ID3v2 tag at the start of the open file, from its header;
// 0 when the file does not start with one.
size_t tagBytes(int fd) {
    unsigned char header[10];
    if (::pread(fd, header, sizeof header, 0) != sizeof header ||
        std::memcmp(header, "ID3", 3) != 0) {
        return 0;
    }
    size_t size = 0;
    for (int i = 6; i < 10; ++i) size = size << 7 | (header[i] & 0x7f);
    return sizeof header + size;
}

// Reads the ID3v2 tag at the start of the open file.
std::optional<std::string> lyricsFrameOf(int fd) {
    int error = MPG123_OK;
    const Handle handle(mpg123_new(nullptr, &error));
    if (!handle) return std::nullopt;
    mpg123_param(handle.get(), MPG123_FLAGS, MPG123_QUIET, 0.0);
    if (mpg123_open_fd(handle.get(), fd) != MPG123_OK) return std::nullopt;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    // Finding the first frame parses the tag before it; a file whose audio is
    // damaged may still carry its lyrics.
    mpg123_getformat(handle.get(), &rate, &channels, &encoding);
    mpg123_id3v2* tag = nullptr;
    if ((mpg123_meta_check(handle.get()) & MPG123_ID3) == 0 ||
        mpg123_id3(handle.get(), nullptr, &tag) != MPG123_OK || tag == nullptr) {
        return std::nullopt;
    }
    return firstLyricsFrame(*tag);
}

}  // namespace

std::optional<Lyrics> readEmbeddedLyrics(const std::string& songPath) {
    const int fd = ::open(songPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<std::string> text;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const size_t tag = tagBytes(fd);
        if (tag > 0 && tag <= kMaxTagBytes) text = lyricsFrameOf(fd);
    }
    ::close(fd);
    if (!text) return std::nullopt;

    Lyrics lyrics;
    if (text->size() > kMaxLyricsBytes) {
        // Whole lines only, so that no character is cut in two.
        lyrics.cut = true;
        text->resize(kMaxLyricsBytes);
        const size_t lineEnd = text->find_last_of("\r\n");
        text->resize(lineEnd == std::string::npos ? 0 : lineEnd + 1);
    }
    for (const std::string& line : splitAnyLines(*text)) lyrics.text.append(line).append("\r\n");
    if (lyrics.cut) lyrics.text.append(kLyricsLeftOutLine).append("\r\n");
    return lyrics;
}

std::string lyricsSourcePath(const std::string& songPath, LyricsSource source) {
    if (source == LyricsSource::Song) return songPath;
    return lyricsFileFor(songPath, source == LyricsSource::LrcFile ? ".lrc" : ".txt").value_or("");
}

std::optional<SongLyrics> readSongLyrics(const std::string& songPath) {
    if (!lyricsStem(songPath)) return std::nullopt;
    for (const LyricsSource source : {LyricsSource::TextFile, LyricsSource::LrcFile}) {
        if (std::optional<Lyrics> lyrics = readLyrics(lyricsSourcePath(songPath, source)))
            return SongLyrics{std::move(*lyrics), source};
    }
    if (std::optional<Lyrics> lyrics = readEmbeddedLyrics(songPath))
        return SongLyrics{std::move(*lyrics), LyricsSource::Song};
    return std::nullopt;
}

}  // namespace melvo
