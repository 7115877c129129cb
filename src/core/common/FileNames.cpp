// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/common/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace melvo {

namespace {

bool pathExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The one name in folder that Qt shows as name; nothing when none or several do.
std::optional<std::string> realName(const std::string& folder, const QString& name) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return std::nullopt;
    std::optional<std::string> found;
    bool several = false;
    while (const dirent* item = ::readdir(dir)) {
        if (QFile::decodeName(item->d_name) != name) continue;
        several = found.has_value();
        found = item->d_name;
        if (several) break;
    }
    ::closedir(dir);
    if (several) return std::nullopt;
    return found;
}

}  // namespace

QString displayPath(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string displayText(std::string_view bytes) { return displayPath(bytes).toStdString(); }

QString fileUrl(std::string_view path) {
    return QString::fromLatin1(
        "file://" +
        QByteArray(path.data(), static_cast<qsizetype>(path.size())).toPercentEncoding("/"));
}

QString songTitle(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }

std::optional<std::string> pathFromQString(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    std::string bytes(encoded.constData(), static_cast<size_t>(encoded.size()));
    if (!path.contains(QChar::ReplacementCharacter) || pathExists(bytes)) return bytes;

    std::string resolved;
    const QStringList parts = path.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) resolved += '/';
        if (!parts[i].contains(QChar::ReplacementCharacter)) {
            resolved += QFile::encodeName(parts[i]).toStdString();
            continue;
        }
        const std::optional<std::string> name = realName(resolved, parts[i]);
        if (!name) return std::nullopt;
        resolved += *name;
    }
    return resolved;
}

std::optional<std::string> pathFromUrl(const QUrl& url) {
    if (!url.isLocalFile()) return std::nullopt;
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    std::string path(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (pathExists(path)) return path;
    return pathFromQString(url.toLocalFile());
}

std::string lexicallyNormal(std::string_view path) {
    const bool absolute = path.starts_with('/');
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..") {
                parts.pop_back();
            } else if (!absolute) {
                parts.push_back(part);
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normal = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) normal += '/';
        normal += parts[i];
    }
    return normal.empty() ? "." : normal;
}

std::string readFailureText(int error) {
    switch (error) {
        case 0:
            return "通常のファイルではありません";
        case EACCES:
        case EPERM:
            return "読み取りが許可されていません";
        case EIO:
            return "ディスクの読み書きに失敗しました";
        case ENOMEM:
            return "メモリーが足りません";
        default:
            return QString::fromLocal8Bit(std::strerror(error)).toStdString();
    }
}

}  // namespace melvo
