// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The rows of the song list: title and folder of each song, the playing mark
// with its text colour, and the played mark (check state) of the current cycle.
// It shows the player core's song entries and marks.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <string>
#include <string_view>
#include <vector>

namespace melvo {

class SongListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { MarkColumn, TitleColumn, FolderColumn, ColumnCount };

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
    QString title(int row) const { return rows_[row].title; }
    QString folder(int row) const { return rows_[row].folder; }
    QString fullPath(int row) const { return rows_[row].folder + rows_[row].title; }

    // The playing row shows "♪♪" in red; unmarked rows show nothing, in black.
    void markPlaying(int row);
    void unmarkPlaying(int row);
    QString markText(int row) const;
    QColor textColour(int row) const { return rows_[row].colour; }

    // The played marks show the player core's; a tick by the user goes to the
    // core as playedMarkToggled and comes back through setPlayed.
    bool isPlayed(int row) const { return rows_[row].played; }
    void setPlayed(int row, bool played);
    void clearPlayed();

  signals:
    void playedMarkToggled(int row, bool played);

  private:
    struct Row {
        QString title;
        QString folder;
        QColor colour;  // invalid: the view's own text colour
        bool playing = false;
        bool played = false;
    };
    void rowChanged(int row);

    std::vector<Row> rows_;
};

}  // namespace melvo
