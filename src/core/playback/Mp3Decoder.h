// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// One MP3 file decoded with libmpg123: its exact length, sample-exact seeking,
// and decoding into 16-bit stereo samples at the file's own rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct mpg123_handle_struct;

namespace melvo {

class Mp3Decoder {
  public:
    // Two channels of signed 16-bit samples, interleaved; mono files are doubled.
    static constexpr int kChannels = 2;

    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Opens the file and measures it. False at once when the path is not a
    // regular file (a named pipe, a folder, a device), and when the file cannot
    // be read or holds no MPEG audio frames; the decoder is then closed.
    bool open(const std::string& path);
    bool isOpen() const { return handle_ != nullptr; }

    // Samples per second of the output (the first frame's rate).
    long rate() const { return rate_; }
    // Sample frames (one sample per channel) the whole file decodes to: the
    // encoder's delay and padding are left out when the file's LAME tag names
    // them and the file holds all the frames the tag claims.
    std::int64_t lengthFrames() const { return lengthFrames_; }

    // Moves so that the next decode starts at the given sample frame.
    bool seek(std::int64_t frame);
    // Decodes up to maxFrames sample frames into out (kChannels values each);
    // answers how many it wrote, 0 at the end of the file or when the data
    // cannot be decoded any further.
    std::size_t decode(std::int16_t* out, std::size_t maxFrames);

    void close();

  private:
    struct BufferedFile;

    std::unique_ptr<BufferedFile> file_;
    mpg123_handle_struct* handle_ = nullptr;
    long rate_ = 0;
    std::int64_t lengthFrames_ = 0;
};

}  // namespace melvo
