// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Where the settings and the song list live: beside the program or in the
// user's data folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/settings/DataFolder.h"

namespace melvo {
namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class DataFolderTest : public ::testing::Test {
  protected:
    QString program() const { return programDir.path(); }
    QString user() const { return homeDir.filePath(QStringLiteral("share/melvo")); }

    QTemporaryDir programDir;
    QTemporaryDir homeDir;
};

// No jukebox runs on either folder.
const auto noJukebox = [](const QString&) { return false; };

TEST_F(DataFolderTest, WritableProgramFolderKeepsTheFilesBesideTheProgram) {
    const auto writable = [](const QString&) { return true; };
    EXPECT_EQ(chooseDataFolder(program(), QString(), user(), writable, noJukebox), program());
    EXPECT_EQ(
        chooseDataFolder(program(), QStringLiteral("/usr/local/bin"), user(), writable, noJukebox),
        program());
    EXPECT_FALSE(QFileInfo::exists(user()));
}

TEST_F(DataFolderTest, ReadOnlyProgramFolderUsesTheUserFolderAndBringsTheFilesAlong) {
    write(programDir.filePath("mvMP3.csv"), "/music/a.mp3\r\n/music/b.mp3, 1500\r\n");
    write(programDir.filePath("mvMP3.ini"), "[MUSIC]\r\nAUTO=1\r\n");
    QFile::setPermissions(programDir.filePath("mvMP3.ini"), QFile::ReadOwner | QFile::ReadOther);
    QString asked;
    const auto readOnly = [&asked](const QString& folder) {
        asked = folder;
        return false;
    };

    EXPECT_EQ(chooseDataFolder(program(), QString(), user(), readOnly, noJukebox), user());
    EXPECT_EQ(asked, program());
    EXPECT_TRUE(QFileInfo(user()).isDir());
    EXPECT_EQ(read(QDir(user()).filePath("mvMP3.csv")), "/music/a.mp3\r\n/music/b.mp3, 1500\r\n");
    EXPECT_EQ(read(QDir(user()).filePath("mvMP3.ini")), "[MUSIC]\r\nAUTO=1\r\n");
    EXPECT_TRUE(QFileInfo(QDir(user()).filePath("mvMP3.ini")).permissions() & QFile::WriteOwner);

    // Later runs keep what the user changed since.
    write(QDir(user()).filePath("mvMP3.csv"), "/music/c.mp3\r\n");
    EXPECT_EQ(chooseDataFolder(program(), QString(), user(), readOnly, noJukebox), user());
    EXPECT_EQ(read(QDir(user()).filePath("mvMP3.csv")), "/music/c.mp3\r\n");
}

TEST_F(DataFolderTest, InstalledProgramUsesTheUserFolderEvenWhereItCouldWrite) {
    const auto writable = [](const QString&) { return true; };
    // The same folder, spelled differently.
    const QString installedAs = program() + QStringLiteral("/.");
    EXPECT_EQ(chooseDataFolder(program(), installedAs, user(), writable, noJukebox), user());
    EXPECT_TRUE(QFileInfo(user()).isDir());
}

TEST_F(DataFolderTest, WritabilityIsTestedByCreatingAFile) {
    EXPECT_TRUE(folderIsWritable(program()));
    EXPECT_TRUE(QDir(program())
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                    .isEmpty());  // the probe is gone again
    EXPECT_FALSE(folderIsWritable(programDir.filePath("missing")));
    write(programDir.filePath("file"), "x");
    EXPECT_FALSE(folderIsWritable(programDir.filePath("file")));
    // A folder the program cannot create files in, whoever runs it.
    EXPECT_FALSE(folderIsWritable(QStringLiteral("/proc/self")));
}

}  // namespace
}  // namespace melvo
