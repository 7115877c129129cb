// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/tags/TagReader.h"

#include <apetag.h>
#include <attachedpictureframe.h>
#include <commentsframe.h>
#include <fileref.h>
#include <flacfile.h>
#include <id3v1tag.h>
#include <id3v2tag.h>
#include <mpegfile.h>
#include <sys/stat.h>
#include <textidentificationframe.h>
#include <tiostream.h>
#include <tpropertymap.h>
#include <unistd.h>
#include <unsynchronizedlyricsframe.h>

#include <cerrno>
#include <climits>
#include <new>
#include <vector>

#include "core/common/TextFile.h"
#include "core/tags/TagText.h"

namespace melvo {

namespace {

constexpr unsigned long kMaxReadBytes = 16ul << 20;

// A read-only TagLib stream over a regular file. It is opened without waiting
// (see openRegularFile), reads through the descriptor, so a file that is
// removed meanwhile stays readable, and refuses every read larger than
// kMaxReadBytes: TagLib reads a whole tag at once, as large as its header
// says, so a huge picture or a lying size costs no more than that.
class SongStream : public TagLib::IOStream {
  public:
    explicit SongStream(const std::string& path) : path_(path) {
        int error = 0;
        fd_ = openRegularFile(path, &error);
        struct stat info {};
        if (fd_ >= 0 && ::fstat(fd_, &info) == 0) length_ = info.st_size;
    }
    ~SongStream() override {
        if (fd_ >= 0) ::close(fd_);
    }
    SongStream(const SongStream&) = delete;
    SongStream& operator=(const SongStream&) = delete;

    TagLib::FileName name() const override { return path_.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override {
        if (fd_ < 0 || length == 0 || length > kMaxReadBytes || position_ >= length_) return {};
        TagLib::ByteVector block(static_cast<unsigned int>(length));
        unsigned long got = 0;
        while (got < length) {
            const ssize_t read = ::pread(fd_, block.data() + got, length - got, position_ + got);
            if (read < 0 && errno == EINTR) continue;
            if (read <= 0) break;
            got += static_cast<unsigned long>(read);
        }
        position_ += static_cast<long>(got);
        block.resize(static_cast<unsigned int>(got));
        return block;
    }
    void writeBlock(const TagLib::ByteVector&) override {}
    void insert(const TagLib::ByteVector&, unsigned long, unsigned long) override {}
    void removeBlock(unsigned long, unsigned long) override {}
    bool readOnly() const override { return true; }
    bool isOpen() const override { return fd_ >= 0; }
    // A seek before the start, or past what a long holds, leaves the place.
    void seek(long offset, Position from) override {
        const long base = from == Beginning ? 0 : from == Current ? position_ : length_;
        long target = 0;
        if (!__builtin_add_overflow(base, offset, &target) && target >= 0) position_ = target;
    }
    long tell() const override { return position_; }
    long length() override { return length_; }
    void truncate(long) override {}

  private:
    std::string path_;
    int fd_ = -1;
    long length_ = 0;
    long position_ = 0;
};

// A text as a tag holds it: UTF-8, or bytes whose character set the tag does
// not name (undeclared), decoded by the tag's one decision.
struct TagString {
    std::string text;
    bool undeclared = false;
};

TagString tagString(const TagLib::String& text, bool undeclared) {
    // TagLib reads undeclared bytes as Latin-1, one character per byte, so
    // to8Bit gives back the very bytes.
    return {undeclared ? text.to8Bit(false) : text.to8Bit(true), undeclared};
}

// The fields of one tag.
struct TagFields {
    TagString title, artist, album, albumArtist, lyrics;
    std::vector<std::string> otherUndeclared;  // comments and the like: they only help decide
    int track = 0;
    int year = 0;

    std::vector<TagString*> texts() { return {&title, &artist, &album, &albumArtist, &lyrics}; }

    // Reads the undeclared texts in one character set, forced or chosen over all of them.
    void decode(TagEncoding encoding) {
        std::vector<std::string_view> undeclared(otherUndeclared.begin(), otherUndeclared.end());
        for (TagString* text : texts())
            if (text->undeclared) undeclared.push_back(text->text);
        const TextCharset charset = encoding == TagEncoding::ShiftJis ? TextCharset::Cp932
                                    : encoding == TagEncoding::Latin1 ? TextCharset::Windows1252
                                                                      : guessCharset(undeclared);
        for (TagString* text : texts()) {
            if (text->undeclared) *text = {decodeText(text->text, charset), false};
        }
    }
};

void keepFirst(TagString& field, TagString value) {
    if (field.text.empty()) field = std::move(value);
}

TagFields id3v2Fields(const TagLib::ID3v2::Tag& tag) {
    using namespace TagLib::ID3v2;
    TagFields fields;
    for (Frame* frame : tag.frameList()) {
        const TagLib::ByteVector id = frame->frameID();
        if (const auto* text = dynamic_cast<const TextIdentificationFrame*>(frame)) {
            TagString value = tagString(text->fieldList().toString(" / "),
                                        text->textEncoding() == TagLib::String::Latin1);
            if (id == "TIT2")
                keepFirst(fields.title, std::move(value));
            else if (id == "TPE1")
                keepFirst(fields.artist, std::move(value));
            else if (id == "TALB")
                keepFirst(fields.album, std::move(value));
            else if (id == "TPE2")
                keepFirst(fields.albumArtist, std::move(value));
            else if (value.undeclared)
                fields.otherUndeclared.push_back(std::move(value.text));
        } else if (const auto* lyrics = dynamic_cast<const UnsynchronizedLyricsFrame*>(frame)) {
            keepFirst(fields.lyrics,
                      tagString(lyrics->text(), lyrics->textEncoding() == TagLib::String::Latin1));
        } else if (const auto* comment = dynamic_cast<const CommentsFrame*>(frame)) {
            if (comment->textEncoding() == TagLib::String::Latin1)
                fields.otherUndeclared.push_back(comment->text().to8Bit(false));
        }
    }
    fields.track = static_cast<int>(tag.track());
    fields.year = static_cast<int>(tag.year());
    return fields;
}

// An ID3v1 tag names no character set at all.
TagFields id3v1Fields(const TagLib::ID3v1::Tag& tag) {
    TagFields fields;
    fields.title = tagString(tag.title(), true);
    fields.artist = tagString(tag.artist(), true);
    fields.album = tagString(tag.album(), true);
    fields.otherUndeclared.push_back(tag.comment().to8Bit(false));
    fields.track = static_cast<int>(tag.track());
    fields.year = static_cast<int>(tag.year());
    return fields;
}

// Any other tag (APE, Vorbis comments, MP4 items) holds UTF-8.
TagFields declaredFields(const TagLib::Tag& tag) {
    TagLib::PropertyMap properties = tag.properties();
    TagFields fields;
    fields.title = tagString(tag.title(), false);
    fields.artist = tagString(tag.artist(), false);
    fields.album = tagString(tag.album(), false);
    fields.albumArtist = tagString(properties["ALBUMARTIST"].toString(" / "), false);
    fields.lyrics = tagString(properties["LYRICS"].toString("\n"), false);
    fields.track = static_cast<int>(tag.track());
    fields.year = static_cast<int>(tag.year());
    return fields;
}

// A later tag's text replaces an earlier one's only where the earlier reads
// as misdecoded (a C1 control, stray signs) and the later reads better: a
// garbled ID3v2 title beside a right ID3v1 one.
bool readsBetter(const std::string& later, const std::string& earlier) {
    const std::optional<int> laterScore = textPlausibility(later);
    const std::optional<int> earlierScore = textPlausibility(earlier);
    return laterScore && (!earlierScore || (*earlierScore < 0 && *laterScore > *earlierScore));
}

// The fields of the tags in the order they count, each decoded.
TagFields merge(std::vector<TagFields> tags, TagEncoding encoding) {
    TagFields merged;
    for (TagFields& tag : tags) {
        tag.decode(encoding);
        const std::vector<TagString*> from = tag.texts();
        const std::vector<TagString*> to = merged.texts();
        for (size_t i = 0; i < from.size(); ++i) {
            if (from[i]->text.empty()) continue;
            if (to[i]->text.empty() || readsBetter(from[i]->text, to[i]->text))
                *to[i] = std::move(*from[i]);
        }
        if (merged.track == 0) merged.track = tag.track;
        if (merged.year == 0) merged.year = tag.year;
    }
    return merged;
}

struct SongFields {
    TagFields fields;
    std::int64_t lengthMs = 0;
};

std::optional<SongFields> readFields(const std::string& path, TagEncoding encoding,
                                     bool audioProperties) {
    SongStream stream(path);
    if (!stream.isOpen()) return std::nullopt;
    const TagLib::FileRef song(&stream, audioProperties, TagLib::AudioProperties::Average);
    if (song.isNull()) return std::nullopt;

    std::vector<TagFields> tags;
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(song.file())) {
        if (mpeg->hasID3v2Tag()) tags.push_back(id3v2Fields(*mpeg->ID3v2Tag()));
        if (mpeg->hasAPETag()) tags.push_back(declaredFields(*mpeg->APETag()));
        if (mpeg->hasID3v1Tag()) tags.push_back(id3v1Fields(*mpeg->ID3v1Tag()));
    } else if (song.tag()) {
        tags.push_back(declaredFields(*song.tag()));
    }
    SongFields result{merge(std::move(tags), encoding)};
    if (song.audioProperties()) result.lengthMs = song.audioProperties()->lengthInMilliseconds();
    return result;
}

// TagLib throws nothing itself, but a copy may run out of memory.
template <typename Read>
auto guarded(Read read) -> decltype(read()) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<SongInfo> readSongInfo(const std::string& path, TagEncoding encoding) {
    return guarded([&]() -> std::optional<SongInfo> {
        std::optional<SongFields> song = readFields(path, encoding, true);
        if (!song) return std::nullopt;
        TagFields& f = song->fields;
        SongInfo info{std::move(f.title.text),
                      std::move(f.artist.text),
                      std::move(f.album.text),
                      std::move(f.albumArtist.text),
                      f.track,
                      f.year,
                      song->lengthMs};
        if (info.title.empty() && info.artist.empty() && info.album.empty() &&
            info.albumArtist.empty() && info.trackNumber == 0 && info.year == 0 &&
            info.lengthMs <= 0)
            return std::nullopt;
        return info;
    });
}

std::optional<std::string> readTagLyrics(const std::string& path, TagEncoding encoding) {
    return guarded([&]() -> std::optional<std::string> {
        std::optional<SongFields> song = readFields(path, encoding, false);
        if (!song || song->fields.lyrics.text.empty()) return std::nullopt;
        return std::move(song->fields.lyrics.text);
    });
}

std::optional<EmbeddedPicture> readEmbeddedPicture(const std::string& path) {
    return guarded([&]() -> std::optional<EmbeddedPicture> {
        SongStream stream(path);
        if (!stream.isOpen()) return std::nullopt;
        const TagLib::FileRef song(&stream, false);
        std::optional<EmbeddedPicture> first;
        const auto consider = [&first](bool front, const TagLib::String& mimeType,
                                       const TagLib::ByteVector& bytes) {
            if (bytes.isEmpty() || (first && !front)) return false;
            first = EmbeddedPicture{mimeType.to8Bit(true), std::string(bytes.data(), bytes.size())};
            return front;
        };
        if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(song.file())) {
            if (!mpeg->hasID3v2Tag()) return std::nullopt;
            using TagLib::ID3v2::AttachedPictureFrame;
            for (const auto* frame : mpeg->ID3v2Tag()->frameList("APIC")) {
                const auto* picture = dynamic_cast<const AttachedPictureFrame*>(frame);
                if (picture && consider(picture->type() == AttachedPictureFrame::FrontCover,
                                        picture->mimeType(), picture->picture()))
                    break;
            }
        } else if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(song.file())) {
            for (const TagLib::FLAC::Picture* picture : flac->pictureList()) {
                if (consider(picture->type() == TagLib::FLAC::Picture::FrontCover,
                             picture->mimeType(), picture->data()))
                    break;
            }
        }
        return first;
    });
}

}  // namespace melvo
