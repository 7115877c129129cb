// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/library/SongListModel.h"

namespace melvo {

namespace {

const QString kPlayingMark = QStringLiteral("♪♪");

}  // namespace

int SongListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SongListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SongListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const Row& row = rows_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            if (index.column() == MarkColumn) return row.playing ? kPlayingMark : QString();
            return index.column() == TitleColumn ? row.title : row.folder;
        case Qt::ForegroundRole:
            return row.colour.isValid() ? QVariant(row.colour) : QVariant();
        case Qt::ToolTipRole:
            return row.folder + row.title;  // the whole path, also where a column cuts it
        case Qt::CheckStateRole:
            if (index.column() == MarkColumn) return row.played ? Qt::Checked : Qt::Unchecked;
            break;
        default:
            break;
    }
    return {};
}

bool SongListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != MarkColumn || role != Qt::CheckStateRole)
        return false;
    emit playedMarkToggled(index.row(), value.toInt() == Qt::Checked);
    return true;
}

QVariant SongListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case MarkColumn:
            return QStringLiteral("演奏中");
        case TitleColumn:
            return QStringLiteral("曲　名");
        case FolderColumn:
            return QStringLiteral("ホルダー名");
        default:
            return {};
    }
}

Qt::ItemFlags SongListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == MarkColumn) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void SongListModel::appendSongs(const std::vector<std::string>& paths) {
    appendSongs(std::vector<std::string_view>(paths.begin(), paths.end()));
}

void SongListModel::appendSongs(const std::vector<std::string_view>& paths) {
    if (paths.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(paths.size()) - 1);
    rows_.reserve(rows_.size() + paths.size());
    // Songs of one folder usually stand together: their rows share one folder text.
    std::string_view lastFolder;
    QString folder;
    bool haveFolder = false;
    for (const std::string_view path : paths) {
        const size_t slash = path.rfind('/');
        const size_t titleStart = slash == std::string_view::npos ? 0 : slash + 1;
        const std::string_view folderBytes = path.substr(0, titleStart);
        if (!haveFolder || folderBytes != lastFolder) {
            folder =
                QString::fromUtf8(folderBytes.data(), static_cast<qsizetype>(folderBytes.size()));
            lastFolder = folderBytes;
            haveFolder = true;
        }
        const std::string_view title = path.substr(titleStart);
        rows_.push_back({QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                         folder,
                         {},
                         false,
                         false});
    }
    endInsertRows();
}

void SongListModel::removeSong(int row) {
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
}

void SongListModel::markPlaying(int row) {
    rows_[row].playing = true;
    rows_[row].colour = Qt::red;
    rowChanged(row);
}

void SongListModel::unmarkPlaying(int row) {
    rows_[row].playing = false;
    rows_[row].colour = Qt::black;
    rowChanged(row);
}

QString SongListModel::markText(int row) const {
    return rows_[row].playing ? kPlayingMark : QString();
}

void SongListModel::setPlayed(int row, bool played) {
    rows_[row].played = played;
    rowChanged(row);
}

void SongListModel::clearPlayed() {
    for (Row& row : rows_) row.played = false;
    if (!rows_.empty()) emit dataChanged(index(0, MarkColumn), index(rowCount() - 1, MarkColumn));
}

void SongListModel::rowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

}  // namespace melvo
