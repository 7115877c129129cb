// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The decoder against the generated fixtures: exact lengths, where seeks land,
// and damaged files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/playback/Mp3Decoder.h"

namespace melvo {
namespace {

std::string fixture(const std::string& name) { return std::string(MELVO_FIXTURE_DIR "/") + name; }

// Every sample frame the decoder gives from its current position to the end.
std::vector<std::int16_t> decodeAll(Mp3Decoder& decoder) {
    std::vector<std::int16_t> samples;
    std::vector<std::int16_t> block(1000 * Mp3Decoder::kChannels);
    while (const std::size_t frames = decoder.decode(block.data(), 1000)) {
        samples.insert(samples.end(), block.begin(),
                       block.begin() + static_cast<std::ptrdiff_t>(frames * Mp3Decoder::kChannels));
    }
    return samples;
}

// Sign changes of the left channel; values near zero (the encoder's silent
// delay and padding) are ignored.
int zeroCrossings(const std::vector<std::int16_t>& samples) {
    int crossings = 0;
    int sign = 0;
    for (std::size_t i = 0; i < samples.size(); i += Mp3Decoder::kChannels) {
        const int now = samples[i] > 1000 ? 1 : samples[i] < -1000 ? -1 : 0;
        if (now != 0 && now != sign) {
            crossings += sign != 0;
            sign = now;
        }
    }
    return crossings;
}

struct LengthCase {
    const char* file;
    long rate;
    std::int64_t frames;  // what the file decodes to
    std::int64_t tone;    // the generator's sample frames
};

class DecoderLength : public ::testing::TestWithParam<LengthCase> {};

// Files with a LAME tag decode to exactly the samples the generator encoded;
// files without one keep the encoder's delay and padding (28 whole MPEG frames
// of 1152 samples). Either way the measured length is what decoding yields, and
// the sound is the generator's 1 kHz tone.
TEST_P(DecoderLength, IsExactAndMatchesTheDecodedSamples) {
    const LengthCase& row = GetParam();
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.open(fixture(row.file)));
    EXPECT_EQ(decoder.rate(), row.rate);
    EXPECT_EQ(decoder.lengthFrames(), row.frames);

    const std::vector<std::int16_t> samples = decodeAll(decoder);
    EXPECT_EQ(static_cast<std::int64_t>(samples.size() / Mp3Decoder::kChannels), row.frames);
    const double seconds = static_cast<double>(row.tone) / static_cast<double>(row.rate);
    EXPECT_NEAR(zeroCrossings(samples) / 2.0 / seconds, 1000.0, 30.0);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DecoderLength,
                         ::testing::Values(LengthCase{"cbr_tag.mp3", 44100, 30001, 30001},
                                           LengthCase{"vbr_tag.mp3", 44100, 30001, 30001},
                                           LengthCase{"mono22k_tag.mp3", 22050, 15001, 15001},
                                           LengthCase{"huge_id3.mp3", 44100, 30001, 30001},
                                           LengthCase{"cbr_notag.mp3", 44100, 32256, 30001},
                                           LengthCase{"vbr_notag.mp3", 44100, 32256, 30001}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

// A seek lands on the very sample asked for: decoding on from there gives the
// same samples as decoding from the start. A tone of 1 kHz changes by
// thousands per sample, so being one sample off shows.
TEST(Mp3Decoder, SeekLandsOnTheExactSample) {
    for (const char* file : {"cbr_tag.mp3", "vbr_notag.mp3", "mono22k_tag.mp3"}) {
        SCOPED_TRACE(file);
        Mp3Decoder decoder;
        ASSERT_TRUE(decoder.open(fixture(file)));
        const std::vector<std::int16_t> whole = decodeAll(decoder);
        for (const std::int64_t target : {std::int64_t{12345}, std::int64_t{1}, std::int64_t{0},
                                          decoder.lengthFrames() - 100}) {
            SCOPED_TRACE(target);
            ASSERT_TRUE(decoder.seek(target));
            const std::vector<std::int16_t> rest = decodeAll(decoder);
            ASSERT_EQ(rest.size(), whole.size() - static_cast<std::size_t>(target) * 2);
            int worst = 0;
            for (std::size_t i = 0; i < rest.size(); ++i) {
                worst = std::max(worst, std::abs(rest[i] - whole[target * 2 + i]));
            }
            EXPECT_LE(worst, 64);
        }
    }
}

// Damaged input never crashes or loops: the file either fails to open or
// decodes to an end. A cut file plays what it holds. What is not a regular
// file (a named pipe nobody writes to, a folder) fails at once.
TEST(Mp3Decoder, DamagedFilesOpenNotOrDecodeToAnEnd) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string pipe = folder.filePath("pipe.mp3").toStdString();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path :
         {fixture("empty.mp3"), fixture("random.mp3"), fixture("wav_renamed.mp3"),
          fixture("truncated.mp3"), fixture("no_such_file.mp3"), pipe,
          folder.path().toStdString()}) {
        SCOPED_TRACE(path);
        Mp3Decoder decoder;
        if (!decoder.open(path)) {
            EXPECT_FALSE(decoder.isOpen());
            EXPECT_EQ(decoder.lengthFrames(), 0);
            EXPECT_EQ(decoder.decode(nullptr, 0), 0u);
            continue;
        }
        EXPECT_GT(decoder.lengthFrames(), 0);
        const std::size_t frames = decodeAll(decoder).size() / Mp3Decoder::kChannels;
        EXPECT_LE(static_cast<std::int64_t>(frames), decoder.lengthFrames() + 1152);
    }
    Mp3Decoder cut;
    ASSERT_TRUE(cut.open(fixture("truncated.mp3")));
    const std::size_t frames = decodeAll(cut).size() / Mp3Decoder::kChannels;
    EXPECT_GT(frames, 10000u);
    EXPECT_LT(frames, 30001u);
    EXPECT_NEAR(cut.lengthFrames(), static_cast<std::int64_t>(frames), 1152)
        << "the length its tag claims is more than the file holds";
}

}  // namespace
}  // namespace melvo
