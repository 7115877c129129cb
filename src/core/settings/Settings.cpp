// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/settings/Settings.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "core/common/TextFile.h"

namespace melvo {

namespace {

// Settings files are a few hundred bytes; anything far larger is not ours to parse.
constexpr size_t kMaxSettingsFileBytes = size_t{4} << 20;
constexpr size_t kMaxValueBytes = 254;

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(line.substr(1, close - 1));
}

bool isKeyLine(std::string_view line, std::string_view key) {
    const size_t equals = line.find('=');
    return equals != std::string_view::npos && !trimBlanks(line).starts_with(';') &&
           sameName(trimBlanks(line.substr(0, equals)), key);
}

// A line of the file as its bytes, and the line end that followed it: LF,
// CR LF, or nothing for a last line without one.
struct Line {
    std::string text;
    std::string end;
};

std::vector<Line> linesOf(std::string_view bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        Line line{std::string(bytes.substr(start, end - start)), end < bytes.size() ? "\n" : ""};
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.pop_back();
            line.end.insert(0, "\r");
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The bytes of the settings file: nothing when the file is there but cannot
// be read whole; an empty text when there is none.
std::optional<std::string> settingsBytes(const std::string& path) {
    FileRead file = readRegularFile(path, kMaxSettingsFileBytes);
    if (file.status == FileRead::Status::Absent) return std::string();
    if (file.status != FileRead::Status::Read || file.cut) return std::nullopt;
    return std::move(file.bytes);
}

std::string cutToBytes(std::string value, size_t limit) {
    value.resize(wholeCharactersLength(value, limit));
    return value;
}

}  // namespace

std::string readSetting(const std::string& key, const std::string& section,
                        const std::string& path) {
    const std::optional<std::string> bytes = settingsBytes(path);
    if (!bytes) return kNoSetting;
    bool inSection = false;
    for (const Line& line : linesOf(*bytes)) {
        if (const auto name = sectionName(line.text)) {
            inSection = sameName(*name, section);
        } else if (inSection && isKeyLine(line.text, key)) {
            // Values of the old system are CP932; each line is converted on its own.
            const std::string_view value =
                trimBlanks(std::string_view(line.text).substr(line.text.find('=') + 1));
            return cutToBytes(toUtf8(value), kMaxValueBytes);
        }
    }
    return kNoSetting;
}

bool writeSetting(const std::string& value, const std::string& key, const std::string& section,
                  const std::string& path) {
    const std::optional<std::string> bytes = settingsBytes(path);
    if (!bytes) return false;  // unreadable or far too large: leave it alone
    std::vector<Line> lines = linesOf(*bytes);
    const std::string keyLine = key + "=" + value;

    // Replace the key inside its section, or add it at the end of the section,
    // or add the section at the end of the file. Every other line keeps its bytes.
    bool inSection = false;
    std::optional<size_t> sectionEnd;
    bool written = false;
    for (size_t i = 0; i < lines.size() && !written; ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (inSection) break;
            inSection = sameName(*name, section);
            if (inSection) sectionEnd = i + 1;
        } else if (inSection) {
            if (isKeyLine(lines[i].text, key)) {
                lines[i].text = keyLine;
                written = true;
            } else if (!trimBlanks(lines[i].text).empty()) {
                sectionEnd = i + 1;
            }
        }
    }
    const auto insertAt = [&](size_t at, std::string text) {
        if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = "\r\n";
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                     Line{std::move(text), "\r\n"});
    };
    if (!written && sectionEnd) {
        insertAt(*sectionEnd, keyLine);
    } else if (!written) {
        insertAt(lines.size(), "[" + section + "]");
        insertAt(lines.size(), keyLine);
    }

    std::string out;
    out.reserve(bytes->size() + keyLine.size() + section.size() + 8);
    for (const Line& line : lines) out.append(line.text).append(line.end);
    return writeFileAtomically(path, out, nullptr);
}

std::string readSettingOr(const std::string& key, const std::string& path, const char* fallback) {
    std::string value = readSetting(key, kSettingsSection, path);
    return value == kNoSetting ? fallback : value;
}

}  // namespace melvo
