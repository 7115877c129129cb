// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The rows of the song list: title and folder of each song, its artist, album
// and length as its tags tell them, the playing mark with its text colour, and
// the played mark (check state) of the current cycle. It shows the player
// core's song entries and marks, and the tags as they are read.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/tags/TagScanner.h"

namespace melvo {

class SongListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The columns added with the tags come after those of the list's first
    // design, so that stored widths keep their columns; the view shows them
    // in the order of kShownOrder.
    enum Column {
        MarkColumn,
        TitleColumn,
        FolderColumn,
        ArtistColumn,
        AlbumColumn,
        LengthColumn,
        ColumnCount
    };
    static constexpr Column kShownOrder[ColumnCount] = {MarkColumn,  TitleColumn,  ArtistColumn,
                                                        AlbumColumn, LengthColumn, FolderColumn};

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rows are counted from 0 here.
    // Appends one row per path in one insertion, however many there are.
    void appendSongs(const std::vector<std::string>& paths);
    void appendSongs(const std::vector<std::string_view>& paths);
    void removeSong(int row);
    // The song's file name, which 曲　名 shows where the tags give no title.
    QString title(int row) const { return rows_[row].title; }
    QString folder(int row) const { return rows_[row].folder; }
    QString fullPath(int row) const { return rows_[row].folder + rows_[row].title; }

    // What the song's tags say, once they are read; empty before and without them.
    QString tagTitle(int row) const { return tags(row).title; }
    QString artist(int row) const { return tags(row).artist; }
    QString album(int row) const { return tags(row).album; }
    // The length as 時間 shows it: m:ss, or h:mm:ss from an hour on.
    QString lengthText(int row) const;
    // The tags read for these songs fill the rows of every entry of each.
    void showTags(const std::vector<ScannedSong>& songs);
    // The song was measured on play: its rows show that length from now on.
    void showExactLength(const std::string& path, double seconds);

    // The playing row shows "♪♪" in red; unmarked rows show nothing, in black.
    void markPlaying(int row);
    void unmarkPlaying(int row);
    QString markText(int row) const;
    QColor textColour(int row) const { return rows_[row].colour; }

    // A song whose folder is missing shows greyed, except while it is marked
    // as playing, and its tip says why.
    bool isAvailable(int row) const { return !rows_[row].unavailable; }
    void setAvailable(int row, bool available);

    // The played marks show the player core's; a tick by the user goes to the
    // core as playedMarkToggled and comes back through setPlayed.
    bool isPlayed(int row) const { return rows_[row].played; }
    void setPlayed(int row, bool played);
    void clearPlayed();

  signals:
    void playedMarkToggled(int row, bool played);

  private:
    struct Tags {
        QString title;
        QString artist;
        QString album;
        std::int64_t lengthMs = 0;
        bool exactLength = false;
        unsigned batch = 0;  // the latest batch of tags that changed it
    };
    struct Row {
        QString title;
        QString folder;
        int tags;       // in tags_: one for each song, shared by the entries of that song
        QColor colour;  // invalid: the view's own text colour
        bool playing = false;
        bool played = false;
        bool unavailable = false;
    };
    void rowChanged(int row);
    const Tags& tags(int row) const { return tags_[static_cast<size_t>(rows_[row].tags)]; }
    int tagsOf(std::string_view path);
    void tagsChanged();

    std::vector<Row> rows_;
    std::vector<Tags> tags_;
    std::unordered_map<std::string, int> tagsByPath_;
    unsigned batch_ = 0;
};

}  // namespace melvo
