// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Where the jukebox keeps its settings file and its song list file.
#pragma once

#include <QString>
#include <functional>

namespace melvo {

// True when a new file can be created in folder.
bool folderIsWritable(const QString& folder);

// The user's own data folder for the jukebox: $XDG_DATA_HOME/melvo, by default
// ~/.local/share/melvo.
QString userDataFolder();

// Where the tag cache lies for a data folder: in the user's cache folder
// ($XDG_CACHE_HOME/melvo, by default ~/.cache/melvo) when the data lie in the
// user's data folder, else (a program run from where it was built) beside
// the data files.
QString cacheFolder(const QString& dataFolder);

// Chooses the folder for the settings file and the song list file.
// A folder a jukebox runs on already (runsOn), the program's own first, so
// that a later start finds that jukebox whatever has become of the folders
// since. Else the program's own folder, as designed, when the program can
// write there and it is not the folder the program was installed to
// (installedFolder, empty when unknown). Otherwise userFolder, created if
// needed; data files that lie beside the program but not yet in userFolder are
// copied there first, so that nothing kept beside an earlier copy of the
// program is lost.
QString chooseDataFolder(const QString& programFolder, const QString& installedFolder,
                         const QString& userFolder,
                         const std::function<bool(const QString&)>& canWrite,
                         const std::function<bool(const QString&)>& runsOn);

}  // namespace melvo
