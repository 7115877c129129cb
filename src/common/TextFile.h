// Reading and writing the program's text files: the song list, the settings
// and the lyrics. Files are UTF-8; a file that is not valid UTF-8 was written
// by the old system in CP932 (Shift-JIS) and is converted on reading.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace melvo {

// The bytes of a file as UTF-8 text, converted from CP932 when they are not
// valid UTF-8. Empty when the file cannot be read or is larger than maxBytes.
std::optional<std::string> readTextFile(const std::string& path,
                                        size_t maxBytes = size_t{64} << 20);

// The text converted to UTF-8: unchanged when it is valid UTF-8, else read as CP932.
std::string toUtf8(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

// Splits text into lines that end at CR LF or at a lone CR; a lone LF is an
// ordinary character. A last line without a line end counts; nothing follows
// a final line end.
std::vector<std::string> splitCrLines(std::string_view text);

// How replacing a file went: done, or the step that failed with its errno.
struct FileReplacement {
    enum class Step { Done, WriteTemporary, Rename };
    Step failedStep = Step::Done;
    int error = 0;
    bool ok() const { return failedStep == Step::Done; }
};

// Replaces the file at path atomically through the file temporary in the same
// folder: the data goes to temporary (created, or emptied when it exists), is
// flushed to disk and renamed over path, so a crash or a full disk leaves the
// old file intact. On failure temporary is removed again.
FileReplacement replaceFileThrough(const std::string& temporary, const std::string& path,
                                   std::string_view data);

// replaceFileThrough with a temporary file of a fresh name. On failure returns
// false and puts the errno into *error.
bool writeFileAtomically(const std::string& path, std::string_view data, int* error);

bool fileExists(const std::string& path);

}  // namespace melvo
