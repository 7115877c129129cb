// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song list file "mvMP3.csv": one song entry per line, CR LF line ends.
// A line is a path, or a path, a comma and the song's volume. These rules need
// no window: the main window's load and save are built on them.
//
// Paths are kept as the file system's bytes from the file to open() and back:
// entries are never converted, only shown (see common/FileNames.h).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/common/TextFile.h"
#include "core/library/SongStore.h"

namespace melvo {

// 0 for an empty text, otherwise 1 + the number of commas in it.
int countFields(std::string_view text);

// The field count of the first line of the file's text that holds a song;
// empty lines are passed over. 0 when no line holds anything.
int countFirstLineFields(std::string_view fileText);

// Tells whether a file exists at a path; the load asks it once or twice a line.
using FileTest = std::function<bool(const std::string&)>;

// Tells whether a folder exists at a path.
using FolderTest = std::function<bool(const std::string&)>;

// The folder a song entry's file is in, with its closing '/': the entry up to
// its last '/' (a volume after the path holds none). Empty for a bare name.
std::string_view songFolder(std::string_view entry);

// The file test of the load: each folder is listed once and its names kept, so
// a long list costs one listing per folder instead of one look-up per song.
// Names the listing cannot vouch for (links, unknown kinds, unreadable
// folders) are looked up one by one. A path the list cannot hold
// (canBeListed) names no file.
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

// The entry a line of the file gives, as songEntryForLine, trying the line's
// own bytes first and then, for a line that is not UTF-8 but is CP932 (a list
// written by the old system), its UTF-8 form, which the entry then keeps.
std::optional<std::string> songEntryForRawLine(const std::string& line,
                                               std::string_view initialVolume,
                                               const FileTest& exists);

// The largest song list file read: far beyond 100,000 songs.
inline constexpr size_t kMaxSongListBytes = size_t{64} << 20;

// What reading the song list file gave.
struct SongListLoad {
    enum class Status {
        Loaded,    // the file was read whole; entries and missing hold its lines
        Absent,    // there is no file: an empty list that may be saved
        Refused,   // the file is there but could not be read whole (error says why):
                   // it must not be overwritten while this program runs
        TooLarge,  // longer than kMaxSongListBytes: nothing was read, and the
                   // program does not run on it
    };
    Status status = Status::Absent;
    std::vector<std::string> entries;  // one per line naming an existing file or a file in a
                                       // missing folder, in file order
    std::vector<size_t> unavailable;   // the entries whose folder is missing (an unplugged
                                       // drive): each is its line as it stood, in file order
    std::vector<std::string> missing;  // the paths of the lines naming no existing file, for
                                       // the message (a CP932 line in its UTF-8 form)
    int error = 0;                     // errno of a refusal; 0 for a file that is no regular file

    // The file holds no song at all (absent, or nothing but empty lines): the
    // empty-list notice is due. Not so when every song in it is missing.
    bool heldNoSongs() const {
        return status == Status::Absent ||
               (status == Status::Loaded && entries.empty() && missing.empty());
    }
};

// Reads the song list file at path. Lines end at CR LF, a lone CR or a lone
// LF; a UTF-8 byte-order mark at the start is skipped; empty lines are passed
// over and cost nothing kept. Each line gives an entry by songEntryForRawLine.
// A line naming no existing file whose folder is missing too is kept as it
// stands, so that a drive that is not there loses none of its songs or
// volumes, and is listed in unavailable; any other such line's path goes to
// missing.
SongListLoad loadSongListFile(const std::string& path, std::string_view initialVolume,
                              const FileTest& exists = ExistingFiles(),
                              const FolderTest& folderThere = folderExists);

// Writes the entries to the song list file at path (songListText), replacing it
// atomically. When that changes the file, the file as it was is kept first as
// path + ".bak" (one generation, also replaced atomically); when the content
// is already the same nothing is written at all. Returns 0, or the errno of the
// step that failed; then the list file is unchanged.
// Call it only when the load was not refused.
int saveSongListFile(const std::string& path, const SongStore& store);

// What writing the song list's text did: the errno of the step that failed,
// or 0; and whether the file changed.
struct SongListWrite {
    int error = 0;
    bool changed = false;
};
// saveSongListFile for the file's whole text; the file as it was is kept as
// the backup only when backUp says so.
SongListWrite writeSongListText(const std::string& path, const std::string& text, bool backUp);

// The name of the backup kept by saveSongListFile.
std::string songListBackupPath(const std::string& path);

// A path the song list can hold: one line, so no CR and no LF in it, and no
// NUL, at which every system call would end it and name another file.
bool canBeListed(std::string_view path);

// Only names with ".mp3" or ".MP3" in them count as songs, wherever it stands.
bool looksLikeMp3(std::string_view name);

// The name ends in the extension (".mp3", ".m3u8"...), in any letter case.
bool hasExtension(std::string_view name, std::string_view extension);

// The name of a song file: with ".mp3" or ".MP3" in it (looksLikeMp3), or
// ending in ".mp3" in any letter case.
bool isSongName(std::string_view name);

// The letter in lower case when it is an ASCII capital, else unchanged.
inline char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The message (UTF-8) shown when songs cannot be added because canBeListed
// refuses their paths: the path of the first, and how many others there are.
std::string unlistableSongsMessage(const std::vector<std::string>& paths);

// The message (UTF-8) shown at start-up for the songs kept although their
// folders are missing: how many there are, and each distinct folder once in
// the order of the list, the first kMaxFoldersTold of them.
inline constexpr size_t kMaxFoldersTold = 10;
std::string unavailableSongsMessage(const std::vector<std::string>& paths);

// The message (UTF-8) shown at start-up when the load was refused; the list
// file stays as it is.
std::string refusedSongListMessage(const std::string& path, int error);

// The message (UTF-8) shown when the list file is too large to read; the
// program then ends and the file stays as it is.
std::string tooLargeSongListMessage(const std::string& path);

}  // namespace melvo
