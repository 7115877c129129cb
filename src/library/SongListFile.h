// The song list file "mvMP3.csv": one song entry per line, CR LF line ends.
// A line is a path, or a path, a comma and the song's volume. These rules need
// no window: the main window's load and save are built on them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "library/SongStore.h"

namespace melvo {

// 0 for an empty text, otherwise 1 + the number of commas in it.
int countFields(std::string_view text);

// The field count of the first line of the file's text that holds a song;
// empty lines are passed over. 0 when no line holds anything.
int countFirstLineFields(std::string_view fileText);

// Tells whether a file exists at a path; the load asks it once or twice a line.
using FileTest = std::function<bool(const std::string&)>;

// The file test of the load: each folder is listed once and its names kept, so
// a long list costs one listing per folder instead of one look-up per song.
// Names the listing cannot vouch for (links, unknown kinds, unreadable
// folders) are looked up one by one.
class ExistingFiles {
  public:
    bool operator()(const std::string& path);

  private:
    struct Folder {
        bool listed = false;
        std::unordered_set<std::string> files;   // regular files
        std::unordered_set<std::string> others;  // names the listing cannot judge
    };
    std::unordered_map<std::string, Folder> folders_;
    std::string lastFolder_;
    Folder* last_ = nullptr;
};

// The entry a non-empty line of the file gives, or nothing when it names no
// existing file. A line is read, in this order, as:
//   1. a path and its volume, split at the last comma, when the text after
//      that comma is a volume and the text before it an existing file
//      (every "path,volume" line without a comma in its path is one);
//   2. a path, when the whole line is an existing file (paths with commas
//      and no volume);
//   3. a path and a volume that is no plain number, split at the last comma,
//      when the text before it is an existing file; the entry keeps the
//      number the volume reads as.
// The entry is the line itself unless it would read back differently
// (songEntryFor, case 3).
std::optional<std::string> songEntryForLine(const std::string& line, std::string_view initialVolume,
                                            const FileTest& exists);

// The entry of a song without a volume of its own: the bare path, unless the
// text after its last comma is a number and so would read as a volume; then
// the path carries the initial volume, which it would play at anyway.
std::string songEntryFor(const std::string& path, std::string_view initialVolume);

// The whole file for the entries: each one a line ending in CR LF; empty
// when there are none.
std::string songListText(const SongStore& store);

}  // namespace melvo
