// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "support/WindowHarness.h"

#include <fstream>
#include <sstream>

#include "core/common/TextFile.h"
#include "core/settings/Settings.h"

namespace melvo::test {

WindowHarness::WindowHarness() = default;

WindowHarness::~WindowHarness() = default;

MainWindow& WindowHarness::start(MediaEngine* engine) {
    window_ = std::make_unique<MainWindow>(
        folder.path(), Services{dialogs, engine ? *engine : media, mixer, launcher});
    window_->endProgram = [this] { ++programEnds; };
    if (readTags) window_->tagScanner->setReading("test", readTags);
    window_->startUp();
    return *window_;
}

std::string WindowHarness::path(const std::string& name) const {
    return folder.filePath(QString::fromStdString(name)).toStdString();
}

void WindowHarness::writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
}

std::string WindowHarness::readFile(const std::string& name) const {
    std::ifstream file(path(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool WindowHarness::exists(const std::string& name) const { return fileExists(path(name)); }

std::string WindowHarness::setting(const std::string& key) const {
    return readSetting(key, kSettingsSection, path(kSettingsFileName));
}

void WindowHarness::setSetting(const std::string& key, const std::string& value) const {
    writeSetting(value, key, kSettingsSection, path(kSettingsFileName));
}

}  // namespace melvo::test
