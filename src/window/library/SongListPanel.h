// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song list panel: the list view and its rows, filled in with the songs'
// tags as they are read, the header's menu that shows and hides columns, the
// add and delete buttons, the menu items that add folders and read and write playlists, the
// chosen song's path, and the messages of the list file. The rows show the
// player core's song list; clicks and drops go to its commands.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "core/library/SongSearch.h"

class QAction;
class QLabel;
class QPushButton;
class QTreeView;
class QUrl;

namespace melvo {

class Dialogs;
class Jukebox;
class SongListModel;
class TagScanner;

class SongListPanel : public QObject {
    Q_OBJECT

  public:
    struct Controls {
        QTreeView* view;
        QPushButton* addSongButton;
        QPushButton* deleteSongButton;
        QLabel* songPathLabel;
        QAction* addFolderMenuItem;
        QAction* readPlaylistMenuItem;
        QAction* writePlaylistMenuItem;
    };

    // tags reads the tags of every song that joins the list.
    SongListPanel(Controls controls, Jukebox& jukebox, Dialogs& dialogs, TagScanner& tags,
                  QObject* parent);

    // The rows the view shows, one per song entry.
    SongListModel* rows() const { return rows_; }
    // Loads the song list file into the core and reports each missing song.
    // False, once the user was told, when the file is too large to run on.
    bool loadSongList();
    // Writes the song list file. When that fails the user is told why and asked
    // whether to exit all the same; false when the user chose to stay.
    bool saveSongList();
    // The selected row, counted from 0; -1 when none.
    int selectedRow() const;
    void selectRow(int row);
    void scrollToSelectedSong();
    // Files dropped on the list: added as addPaths adds them, at any time.
    void addDroppedSongs(const QList<QUrl>& urls);
    // Paths handed in (dropped, named on the command line): MP3 files are
    // added at once as the add button adds them; the songs under folders and
    // those of playlists are searched for apart from the window and added
    // when found, a folder's only where the list does not hold them yet.
    void addPaths(const std::vector<std::string>& paths);
    // Searches for the songs of folders and playlists; see addPaths.
    SongSearch& search() const { return *search_; }

    void onSongListClicked();
    void onSongListDoubleClicked();
    void onAddSongButtonClicked();
    void onDeleteSongButtonClicked();
    void onAddFolderMenuItemTriggered();
    void onReadPlaylistMenuItemTriggered();
    void onWritePlaylistMenuItemTriggered();
    // The header's menu: one checkable item per column; the last column shown
    // cannot be hidden.
    void showColumnMenu(const QPoint& at);

  private:
    void setUpView();
    void followSongList();
    void addFound(const SongSearch::Outcome& outcome);

    Controls c_;
    Jukebox& jukebox_;
    Dialogs& dialogs_;
    TagScanner& tags_;
    SongListModel* rows_;
    SongSearch* search_;
};

}  // namespace melvo
