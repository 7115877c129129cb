// The settings file: an INI file read and written key by key.
#pragma once

#include <string>

namespace melvo {

inline constexpr const char* kSettingsFileName = "mvMP3.ini";
inline constexpr const char* kSettingsSection = "MUSIC";
inline constexpr const char* kNoSetting = "ERROR";

// The value of key in section of the INI file at path, or "ERROR" when the
// file, the section or the key is absent. Section and key names match without
// regard to case; blanks around the key and the value are not part of them.
// A value longer than 254 bytes comes back cut to 254 bytes (never inside a
// character).
std::string readSetting(const std::string& key, const std::string& section,
                        const std::string& path);

// Stores value under key in section, creating the file and the section when
// they are absent and leaving every other line as it was. The file is
// replaced atomically. Returns false when the file could not be written.
bool writeSetting(const std::string& value, const std::string& key, const std::string& section,
                  const std::string& path);

}  // namespace melvo
