// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A temporary folder whose files are named and read as bytes, so names that
// are not UTF-8 ("caf\xE9.mp3") can be made, read and removed.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace melvo::test {

class ByteFolder {
  public:
    // Qt cannot remove names that are not UTF-8.
    ~ByteFolder() { std::filesystem::remove_all(root); }

    std::string path(const std::string& name) const { return root + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream file(path(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    QTemporaryDir folder;
    const std::string root = folder.path().toStdString();
};

}  // namespace melvo::test
