// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Reading and writing the program's text files: the song list, the settings
// and the lyrics. Files are UTF-8; a file that is not valid UTF-8 was written
// by the old system in CP932 (Shift-JIS) and is converted on reading. Lyrics
// files may also start with a byte-order mark, of UTF-8 or of UTF-16.
#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace melvo {

// What reading a file gave.
struct FileRead {
    enum class Status {
        Read,        // bytes holds the file (its first part when cut)
        Absent,      // nothing at the path (also a link that leads nowhere)
        NotRegular,  // a folder, a named pipe, a device: never read
        Failed,      // no access, a read error, too little memory; error says which
    };
    Status status = Status::Failed;
    std::string bytes;
    bool cut = false;  // the file is longer than the limit; bytes holds its first limit bytes
    int error = 0;
};

// Reads the bytes of the regular file at path, at most limit of them. Opening
// never waits (a named pipe is opened without blocking and then refused), and
// the file is read to its end, not to the size it had when opened.
FileRead readRegularFile(const std::string& path,
                         size_t limit = std::numeric_limits<size_t>::max());

// The bytes of a regular file as UTF-8 text, as textFileToUtf8 reads them.
// Nothing when the file cannot be read, is no regular file or is larger than
// maxBytes.
std::optional<std::string> readTextFile(const std::string& path,
                                        size_t maxBytes = std::numeric_limits<size_t>::max());

// The text converted to UTF-8: unchanged when it is valid UTF-8, else read as
// CP932 with a replacement character for each byte that is not CP932.
std::string toUtf8(std::string_view bytes);

// The bytes of a text file as UTF-8: after a UTF-8 byte-order mark (which is
// dropped) as toUtf8, after a UTF-16 one as UTF-16 little- or big-endian
// (with a replacement character for each unit that is no character), else
// as toUtf8.
std::string textFileToUtf8(std::string_view bytes);

// How many of the bytes (the beginning of a text file, read as
// textFileToUtf8 reads it) run up to and with their last line end (CR or LF):
// when there is none, all whole characters (wholeCharactersLength; in UTF-16
// all whole units).
size_t wholeLinesLength(std::string_view bytes);

// The CP932 bytes as UTF-8; nothing when they are not all valid CP932.
std::optional<std::string> fromCp932(std::string_view bytes);

// The bytes in an iconv encoding whose characters are one or more bytes
// (CP932, EUC-JP) as UTF-8. When strict, nothing when they are not all of the
// encoding; else a replacement character for each byte that is not.
std::optional<std::string> fromEncoding(std::string_view bytes, const char* encoding, bool strict);

bool isValidUtf8(std::string_view bytes);

// Where to cut text so that at most limit bytes stay and no UTF-8 character is
// cut in two: limit itself, or the start of the character that it would cut.
// Only the bytes from start on are looked at, and a cut never goes back before
// start: where no character begins within reach (bytes that are no UTF-8),
// the cut stays at limit.
size_t wholeCharactersLength(std::string_view text, size_t limit, size_t start = 0);

// Which bytes end a line: CR LF and a lone CR only (a lone LF is an ordinary
// character), or also a lone LF.
enum class LineEnds { Cr, Any };

// The lines of a text one after another, each a view into the text, so that
// a long text costs no more memory for its lines. A last line without a line
// end counts; nothing follows a final line end.
class LineReader {
  public:
    LineReader(std::string_view text, LineEnds ends) : text_(text), ends_(ends) {}
    // Puts the next line into *line; false after the last.
    bool next(std::string_view* line);

  private:
    std::string_view text_;
    LineEnds ends_;
    size_t start_ = 0;
};

// The lines of text as LineReader reads them with LineEnds::Cr.
std::vector<std::string> splitCrLines(std::string_view text);

// The lines of text as LineReader reads them with LineEnds::Any.
std::vector<std::string> splitAnyLines(std::string_view text);

// How replacing a file went: done, or the step that failed with its errno.
struct FileReplacement {
    enum class Step { Done, WriteTemporary, Rename };
    Step failedStep = Step::Done;
    int error = 0;
    bool ok() const { return failedStep == Step::Done; }
};

// The file a path ends at once its symbolic links are followed: the path
// itself when it is no link, the file a link names even when that does not
// exist (yet). Nothing when the links run in a circle or cannot be read.
std::optional<std::string> linkTarget(const std::string& path);

// The folder part of a path: "." when it has no "/".
std::string folderOf(const std::string& path);

// Replaces the file at path atomically: the data goes to a new temporary file
// in the folder of path's link target, is flushed to disk and renamed over the
// link target, so a crash or a full disk leaves the old file intact and a
// symbolic link at path stays a link. The temporary file is always created
// new (O_EXCL, never following a link), so nothing that stands at its name is
// written through or emptied: it is designedTemporary when that is given and
// free (a leftover regular file of this user's is removed first), else a fresh
// name (see isLeftoverTemporaryName). On failure the temporary file is removed
// again.
FileReplacement replaceFile(const std::string& path, std::string_view data,
                            const std::string& designedTemporary = {});

// replaceFile with a temporary file of a fresh name. On failure returns false
// and puts the errno into *error.
bool writeFileAtomically(const std::string& path, std::string_view data, int* error);

// The name is one writeFileAtomically gives its temporary files:
// ".melvo-" digits ".tmp".
bool isLeftoverTemporaryName(std::string_view name);

// Removes the temporary files that writes cut short by a crash or a kill left
// in folder: only regular files with the name of writeFileAtomically's
// temporaries, nothing else. Returns how many were removed. Call it at
// start-up, before this instance writes anything there.
int removeLeftoverTemporaryFiles(const std::string& folder);

// Opens the regular file at path for reading without ever waiting: a named
// pipe is opened without blocking and then refused. The descriptor, or -1
// with the errno in *error (0 when the file is no regular file).
int openRegularFile(const std::string& path, int* error);

// Something other than a folder is at path.
bool fileExists(const std::string& path);
// A folder, or a link to one, is at path.
bool folderExists(const std::string& path);
// A regular file, or a link to one, is at path: named pipes and devices are
// never new songs.
bool isRegularFile(const std::string& path);

}  // namespace melvo
