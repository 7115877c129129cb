// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/tags/NowPlaying.h"

#include <sys/stat.h>

#include <QByteArray>
#include <QCryptographicHash>

#include "core/common/TextFile.h"

namespace melvo {

namespace {

std::string extensionFor(const std::string& mimeType) {
    if (mimeType == "image/png") return ".png";
    if (mimeType == "image/gif") return ".gif";
    return ".jpg";  // also for the many tags that name no type
}

// The embedded picture as a file of artFolder, written unless it is there.
std::string writtenArt(const EmbeddedPicture& picture, const std::string& artFolder) {
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray::fromRawData(picture.bytes.data(), static_cast<qsizetype>(picture.bytes.size())),
        QCryptographicHash::Sha1);
    const std::string file =
        artFolder + "/" + hash.toHex().toStdString() + extensionFor(picture.mimeType);
    if (isRegularFile(file)) return file;
    ::mkdir(artFolder.c_str(), 0755);
    return replaceFile(file, picture.bytes).ok() ? file : std::string();
}

std::string coverBeside(const std::string& songPath) {
    const std::string folder = folderOf(songPath) + "/";
    for (const char* name : {"cover.jpg", "folder.jpg", "Cover.jpg", "Folder.jpg", "COVER.JPG",
                             "FOLDER.JPG", "cover.png", "folder.png"}) {
        if (isRegularFile(folder + name)) return folder + name;
    }
    return {};
}

}  // namespace

std::string songArtFile(const std::string& songPath, const std::string& artFolder) {
    if (!artFolder.empty()) {
        if (const std::optional<EmbeddedPicture> picture = readEmbeddedPicture(songPath);
            picture && !picture->bytes.empty()) {
            if (std::string file = writtenArt(*picture, artFolder); !file.empty()) return file;
        }
    }
    return coverBeside(songPath);
}

void NowPlaying::read(const std::string& path, TagEncoding encoding) {
    path_ = path;
    info_ = readSongInfo(path, encoding).value_or(SongInfo{});
    artFile_ = songArtFile(path, artFolder_);
    emit changed();
}

}  // namespace melvo
