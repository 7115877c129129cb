#include "settings/Settings.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "common/TextFile.h"

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

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string cutToBytes(std::string value, size_t limit) {
    if (value.size() <= limit) return value;
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
    value.resize(cut);
    return value;
}

}  // namespace

std::string readSetting(const std::string& key, const std::string& section,
                        const std::string& path) {
    const auto text = readTextFile(path, kMaxSettingsFileBytes);
    if (!text) return kNoSetting;
    bool inSection = false;
    for (const std::string& line : linesOf(*text)) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
        } else if (inSection && isKeyLine(line, key)) {
            const std::string_view value =
                trimBlanks(std::string_view(line).substr(line.find('=') + 1));
            return cutToBytes(std::string(value), kMaxValueBytes);
        }
    }
    return kNoSetting;
}

bool writeSetting(const std::string& value, const std::string& key, const std::string& section,
                  const std::string& path) {
    std::string existing;
    if (fileExists(path)) {
        const auto text = readTextFile(path, kMaxSettingsFileBytes);
        if (!text) return false;  // unreadable or far too large: leave it alone
        existing = *text;
    }
    std::vector<std::string> lines = linesOf(existing);
    const std::string keyLine = key + "=" + value;

    // Replace the key inside its section, or add it at the end of the section,
    // or add the section at the end of the file.
    bool inSection = false;
    std::optional<size_t> sectionEnd;
    bool written = false;
    for (size_t i = 0; i < lines.size() && !written; ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (inSection) break;
            inSection = sameName(*name, section);
            if (inSection) sectionEnd = i + 1;
        } else if (inSection) {
            if (isKeyLine(lines[i], key)) {
                lines[i] = keyLine;
                written = true;
            } else if (!trimBlanks(lines[i]).empty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (!written && sectionEnd) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), keyLine);
    } else if (!written) {
        lines.push_back("[" + section + "]");
        lines.push_back(keyLine);
    }

    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return writeFileAtomically(path, out, nullptr);
}

}  // namespace melvo
