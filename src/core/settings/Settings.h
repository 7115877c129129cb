// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The settings file: an INI file read and written key by key.
#pragma once

#include <string>

namespace melvo {

inline constexpr const char* kSettingsFileName = "mvMP3.ini";
inline constexpr const char* kSettingsSection = "MUSIC";
inline constexpr const char* kNoSetting = "ERROR";

// The value of key in section of the INI file at path, or "ERROR" when the
// file, the section or the key is absent, or the file cannot be read whole.
// A value that is not UTF-8 is read as CP932. Section and key names match without
// regard to case; blanks around the key and the value are not part of them.
// A value longer than 254 bytes comes back cut to 254 bytes (never inside a
// character).
std::string readSetting(const std::string& key, const std::string& section,
                        const std::string& path);

// The value of key in the settings section of the file at path, or fallback
// where readSetting finds none.
std::string readSettingOr(const std::string& key, const std::string& path, const char* fallback);

// Stores value under key in section, creating the file and the section when
// they are absent. Every other line keeps its bytes and its line end, whatever
// its encoding; new lines end in CR LF. The file is replaced atomically (a
// symbolic link stays one). Returns false, writing nothing, when the file is
// there but cannot be read whole (no regular file, unreadable, over 4 MiB), or
// when it could not be written.
bool writeSetting(const std::string& value, const std::string& key, const std::string& section,
                  const std::string& path);

}  // namespace melvo
