// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song that plays now as the desktop shows it: its tags, read once as it
// starts (and again when the user chooses another tag encoding), and its
// picture as a file a desktop can open.
#pragma once

#include <QObject>
#include <string>

#include "core/tags/SongInfo.h"
#include "core/tags/TagReader.h"

namespace melvo {

// The picture of the song at songPath as a file: its embedded picture,
// written once into artFolder under a name made of its bytes (no folder
// given: not written), else a cover.jpg or folder.jpg (or .png, in any
// letter case) beside the song. Empty when it has none.
std::string songArtFile(const std::string& songPath, const std::string& artFolder);

class NowPlaying : public QObject {
    Q_OBJECT

  public:
    explicit NowPlaying(QObject* parent = nullptr) : QObject(parent) {}

    // Where embedded pictures are written; empty: nowhere.
    void setArtFolder(std::string folder) { artFolder_ = std::move(folder); }

    // Reads the song's tags and finds its picture.
    void read(const std::string& path, TagEncoding encoding);

    const std::string& path() const { return path_; }
    const SongInfo& info() const { return info_; }
    // The picture's file, empty for none.
    const std::string& artFile() const { return artFile_; }

  signals:
    void changed();

  private:
    std::string artFolder_;
    std::string path_;
    SongInfo info_;
    std::string artFile_;
};

}  // namespace melvo
