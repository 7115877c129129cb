// The artist and album an MP3 file's ID3 tag names, for the desktop's
// controls. Read once per song started, never while it plays.
#pragma once

#include <string>

namespace melvo {

// UTF-8 text; empty where the tag has no such field or the file has no tag.
struct SongTags {
    std::string artist;
    std::string album;
};

// Reads the ID3v2 tag at the start of the file, else the ID3v1 tag at its end
// (whose text is UTF-8 or, in older Japanese files, Shift-JIS). Only a regular
// file is read: anything else (a named pipe, a missing file) has no tags.
SongTags readSongTags(const std::string& path);

}  // namespace melvo
