// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/settings/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "core/settings/Settings.h"

namespace melvo {

namespace {

// The files that move with the data folder. Lyrics files stay beside the songs.
const char* const kDataFiles[] = {kSettingsFileName, "mvMP3.csv"};

bool sameFolder(const QString& a, const QString& b) {
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

}  // namespace

bool folderIsWritable(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    // Creating a file is the only test that also sees read-only mounts and
    // access rules beyond the permission bits.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".melvo-write-test-XXXXXX")));
    return probe.open();
}

QString userDataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("melvo"));
}

QString cacheFolder(const QString& dataFolder) {
    if (!sameFolder(dataFolder, userDataFolder())) return dataFolder;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("melvo"));
}

QString chooseDataFolder(const QString& programFolder, const QString& installedFolder,
                         const QString& userFolder,
                         const std::function<bool(const QString&)>& canWrite,
                         const std::function<bool(const QString&)>& runsOn) {
    const bool installed = !installedFolder.isEmpty() && sameFolder(programFolder, installedFolder);
    if (!installed && runsOn(programFolder)) return programFolder;
    if (runsOn(userFolder)) return userFolder;
    if (!installed && canWrite(programFolder)) return programFolder;

    QDir().mkpath(userFolder);
    for (const char* name : kDataFiles) {
        const QString besideProgram = QDir(programFolder).filePath(QLatin1String(name));
        const QString inUserFolder = QDir(userFolder).filePath(QLatin1String(name));
        if (QFileInfo::exists(besideProgram) && !QFileInfo::exists(inUserFolder) &&
            QFile::copy(besideProgram, inUserFolder)) {
            // The copy keeps the mode of an installed, read-only original.
            QFile::setPermissions(inUserFolder, QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::ReadOther);
        }
    }
    return userFolder;
}

}  // namespace melvo
