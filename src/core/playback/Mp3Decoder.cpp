// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/playback/Mp3Decoder.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace melvo {

namespace {

// Format changes (a new rate in a damaged or odd file) come back from
// mpg123_read without data; this many in a row end the decoding.
constexpr int kMaxEmptyReads = 16;
constexpr long kSeekPreframes = 12;

// Offers every rate libmpg123 decodes to, as 16-bit stereo only.
void allowStereoS16(mpg123_handle* handle, long onlyRate) {
    mpg123_format_none(handle);
    if (onlyRate > 0) {
        mpg123_format(handle, onlyRate, MPG123_STEREO, MPG123_ENC_SIGNED_16);
        return;
    }
    const long* rates = nullptr;
    size_t count = 0;
    mpg123_rates(&rates, &count);
    for (size_t i = 0; i < count; ++i) {
        mpg123_format(handle, rates[i], MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
}

// Opens the path for reading when it names a regular file, or answers -1.
// O_NONBLOCK keeps the open of a named pipe without a writer (or of a device)
// from waiting; reads of a regular file ignore it.
int openRegularFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

// libmpg123's own file reading makes two system calls per MPEG frame, which
// makes measuring a file without a LAME tag (every frame header is read) ten
// times slower than the parsing itself. This reader serves it from a buffer.
struct Mp3Decoder::BufferedFile {
    static constexpr std::size_t kBufferBytes = std::size_t{64} << 10;

    int fd = -1;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(kBufferBytes);
    off_t bufferStart = 0;
    std::size_t bufferLength = 0;
    off_t position = 0;

    ~BufferedFile() {
        if (fd >= 0) {
            ::close(fd);
        }
    }

    static ssize_t readAt(int fd, void* out, std::size_t bytes, off_t offset) {
        ssize_t got = 0;
        do {
            got = ::pread(fd, out, bytes, offset);
        } while (got < 0 && errno == EINTR);
        return got;
    }

    static mpg123_ssize_t read(void* self, void* out, std::size_t bytes) {
        auto& file = *static_cast<BufferedFile*>(self);
        auto* target = static_cast<unsigned char*>(out);
        std::size_t done = 0;
        while (done < bytes) {
            const off_t offset = file.position - file.bufferStart;
            if (offset >= 0 && offset < static_cast<off_t>(file.bufferLength)) {
                const std::size_t run =
                    std::min(bytes - done, file.bufferLength - static_cast<std::size_t>(offset));
                std::memcpy(target + done, file.buffer.data() + offset, run);
                done += run;
                file.position += static_cast<off_t>(run);
                continue;
            }
            const bool direct = bytes - done >= kBufferBytes;
            const ssize_t got =
                direct ? readAt(file.fd, target + done, bytes - done, file.position)
                       : readAt(file.fd, file.buffer.data(), kBufferBytes, file.position);
            if (got <= 0) {
                if (got < 0 && done == 0) {
                    return -1;
                }
                break;  // the end of the file
            }
            if (direct) {
                done += static_cast<std::size_t>(got);
                file.position += got;
            } else {
                file.bufferStart = file.position;
                file.bufferLength = static_cast<std::size_t>(got);
            }
        }
        return static_cast<mpg123_ssize_t>(done);
    }

    static off_t seek(void* self, off_t offset, int whence) {
        auto& file = *static_cast<BufferedFile*>(self);
        off_t base = 0;
        if (whence == SEEK_CUR) {
            base = file.position;
        } else if (whence == SEEK_END) {
            struct stat info {};
            if (::fstat(file.fd, &info) != 0) {
                return -1;
            }
            base = info.st_size;
        } else if (whence != SEEK_SET) {
            return -1;
        }
        if (base + offset < 0) {
            return -1;
        }
        file.position = base + offset;
        return file.position;
    }
};

Mp3Decoder::Mp3Decoder() = default;
Mp3Decoder::~Mp3Decoder() { close(); }

void Mp3Decoder::close() {
    if (handle_ != nullptr) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
        handle_ = nullptr;
    }
    file_.reset();
    rate_ = 0;
    lengthFrames_ = 0;
}

bool Mp3Decoder::open(const std::string& path) {
    close();
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (handle_ == nullptr) {
        return false;
    }
    // Gapless decoding drops the encoder's delay and padding named in the LAME
    // tag; ID3v2 tags are skipped unread since nothing here shows them.
    mpg123_param(handle_, MPG123_FLAGS,
                 MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_SKIP_ID3V2, 0.0);
    allowStereoS16(handle_, 0);
    // After a seek, layer III data may lie in the bit reservoir of up to 511
    // bytes before the frame; at the lowest bit rates that spans about eight
    // frames, so this many are decoded unheard first (the default, 4, leaves
    // a burst of noise after seeking in low-rate VBR files).
    mpg123_param(handle_, MPG123_PREFRAMES, kSeekPreframes, 0.0);

    file_ = std::make_unique<BufferedFile>();
    file_->fd = openRegularFile(path);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (file_->fd < 0 ||
        mpg123_replace_reader_handle(handle_, &BufferedFile::read, &BufferedFile::seek, nullptr) !=
            MPG123_OK ||
        mpg123_open_handle(handle_, file_.get()) != MPG123_OK ||
        mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK || rate <= 0) {
        close();
        return false;
    }
    // Later frames at another rate are converted to the first one, so the
    // output keeps one format for the whole file.
    allowStereoS16(handle_, rate);
    rate_ = rate;

    // A LAME tag carries the exact frame count, and libmpg123 computes the
    // gapless length from it; without one the count is only an estimate from
    // the file size. Either way every frame header is read once (this also
    // indexes the file for seeking): the scan keeps the tag's length where the
    // file holds the frames it claims, and counts what the file holds where it
    // was cut short of them.
    if (mpg123_scan(handle_) != MPG123_OK) {
        close();
        return false;
    }
    const off_t length = mpg123_length(handle_);
    if (length <= 0) {
        close();
        return false;
    }
    lengthFrames_ = length;
    return true;
}

bool Mp3Decoder::seek(std::int64_t frame) {
    if (handle_ == nullptr) {
        return false;
    }
    return mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

std::size_t Mp3Decoder::decode(std::int16_t* out, std::size_t maxFrames) {
    if (handle_ == nullptr) {
        return 0;
    }
    const std::size_t frameBytes = sizeof(std::int16_t) * kChannels;
    auto* bytes = reinterpret_cast<unsigned char*>(out);
    std::size_t filled = 0;
    int emptyReads = 0;
    while (filled < maxFrames * frameBytes) {
        size_t done = 0;
        const int result =
            mpg123_read(handle_, bytes + filled, maxFrames * frameBytes - filled, &done);
        filled += done;
        if (result == MPG123_OK || result == MPG123_NEW_FORMAT) {
            emptyReads = done == 0 ? emptyReads + 1 : 0;
            if (emptyReads < kMaxEmptyReads) {
                continue;
            }
        }
        // The end of the file, or data that cannot be decoded any further.
        break;
    }
    return filled / frameBytes;
}

}  // namespace melvo
