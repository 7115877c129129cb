// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/playback/SongTags.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string_view>

#include "core/common/TextFile.h"

namespace melvo {

namespace {

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

std::string fromV2(const mpg123_string* text) {
    return text && text->fill > 1 ? std::string(text->p, text->fill - 1) : std::string();
}

// A fixed-size ID3v1 field, padded with NULs or blanks.
std::string fromV1(const char* field, std::size_t size) {
    std::string_view text(field, size);
    text = text.substr(0, text.find('\0'));
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return toUtf8(text);
}

// The size of the ID3v2 tag at the start of the open file, from its header;
// 0 when the file does not start with one.
size_t id3v2Bytes(int fd) {
    unsigned char header[10];
    if (::pread(fd, header, sizeof header, 0) != sizeof header ||
        std::memcmp(header, "ID3", 3) != 0) {
        return 0;
    }
    size_t size = 0;
    for (int i = 6; i < 10; ++i) size = size << 7 | (header[i] & 0x7f);
    return sizeof header + size;
}

constexpr size_t kMaxTagBytes = size_t{16} << 20;

}  // namespace

bool readId3Tags(const std::string& path,
                 const std::function<void(const mpg123_id3v1*, const mpg123_id3v2*)>& use) {
    // Without O_NONBLOCK opening a named pipe waits for a writer, for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const FdCloser closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || id3v2Bytes(fd) > kMaxTagBytes)
        return false;

    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, nullptr));
    if (!handle) return false;
    mpg123_param(handle.get(), MPG123_FLAGS, MPG123_QUIET, 0.0);
    // Opening a seekable file reads its ID3v1 tag; finding the first frame
    // reads the ID3v2 tag in front of it, also when the audio is damaged.
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open_fd(handle.get(), fd) != MPG123_OK) return false;
    mpg123_getformat(handle.get(), &rate, &channels, &encoding);

    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    if (mpg123_id3(handle.get(), &v1, &v2) != MPG123_OK) return false;
    use(v1, v2);
    return true;
}

SongTags readSongTags(const std::string& path) {
    SongTags tags;
    readId3Tags(path, [&tags](const mpg123_id3v1* v1, const mpg123_id3v2* v2) {
        if (v2) tags = {fromV2(v2->artist), fromV2(v2->album)};
        if (v1 && tags.artist.empty()) tags.artist = fromV1(v1->artist, sizeof v1->artist);
        if (v1 && tags.album.empty()) tags.album = fromV1(v1->album, sizeof v1->album);
    });
    return tags;
}

}  // namespace melvo
