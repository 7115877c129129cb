// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/library/SongListModel.h"

#include <cmath>

namespace melvo {

namespace {

const QString kPlayingMark = QStringLiteral("♪♪");
const QString kFolderMissing = QStringLiteral("（フォルダーが見つからないため再生できません）");

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
            switch (index.column()) {
                case MarkColumn:
                    return row.playing ? kPlayingMark : QString();
                case TitleColumn:
                    return tags(index.row()).title.isEmpty() ? row.title : tags(index.row()).title;
                case FolderColumn:
                    return row.folder;
                case ArtistColumn:
                    return tags(index.row()).artist;
                case AlbumColumn:
                    return tags(index.row()).album;
                case LengthColumn:
                    return lengthText(index.row());
                default:
                    return {};
            }
        case Qt::TextAlignmentRole:
            if (index.column() == LengthColumn)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
            break;
        case Qt::ForegroundRole:
            if (row.unavailable && !row.playing) return QColor(Qt::gray);
            return row.colour.isValid() ? QVariant(row.colour) : QVariant();
        case Qt::ToolTipRole: {
            // The whole path, also where a column cuts it, and what the tags say.
            QString tip = row.folder + row.title;
            const Tags& known = tags(index.row());
            for (const QString* text : {&known.title, &known.artist, &known.album})
                if (!text->isEmpty()) tip += QLatin1Char('\n') + *text;
            if (row.unavailable) tip += QLatin1Char('\n') + kFolderMissing;
            return tip;
        }
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
        case ArtistColumn:
            return QStringLiteral("アーティスト");
        case AlbumColumn:
            return QStringLiteral("アルバム");
        case LengthColumn:
            return QStringLiteral("時間");
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
                         tagsOf(path),
                         {},
                         false,
                         false});
    }
    endInsertRows();
}

int SongListModel::tagsOf(std::string_view path) {
    const auto [entry, added] =
        tagsByPath_.try_emplace(std::string(path), static_cast<int>(tags_.size()));
    if (added) tags_.emplace_back();
    return entry->second;
}

QString SongListModel::lengthText(int row) const {
    const std::int64_t seconds = (tags(row).lengthMs + 500) / 1000;
    if (seconds <= 0) return {};
    const auto twoDigits = [](std::int64_t n) { return QString::number(n).rightJustified(2, '0'); };
    if (seconds < 3600) return QString::number(seconds / 60) + ':' + twoDigits(seconds % 60);
    return QString::number(seconds / 3600) + ':' + twoDigits(seconds / 60 % 60) + ':' +
           twoDigits(seconds % 60);
}

void SongListModel::showTags(const std::vector<ScannedSong>& songs) {
    ++batch_;
    for (const ScannedSong& song : songs) {
        const auto entry = tagsByPath_.find(song.path);
        if (entry == tagsByPath_.end()) continue;
        Tags& tags = tags_[static_cast<size_t>(entry->second)];
        const SongInfo info = song.info.value_or(SongInfo{});
        tags.title = fromUtf8(info.title);
        tags.artist = fromUtf8(info.artist);
        tags.album = fromUtf8(info.album);
        if (!tags.exactLength) tags.lengthMs = info.lengthMs;
        tags.batch = batch_;
    }
    tagsChanged();
}

void SongListModel::showExactLength(const std::string& path, double seconds) {
    const auto entry = tagsByPath_.find(path);
    if (entry == tagsByPath_.end() || !(seconds > 0)) return;
    Tags& tags = tags_[static_cast<size_t>(entry->second)];
    tags.lengthMs = std::llround(seconds * 1000);
    tags.exactLength = true;
    tags.batch = ++batch_;
    tagsChanged();
}

// One change from the first to the last row of the latest batch: the view's
// work grows with the rows in between, and the songs of a batch mostly stand
// together in the list.
void SongListModel::tagsChanged() {
    int first = -1;
    int last = -1;
    for (int row = 0; row < rowCount(); ++row) {
        if (tags(row).batch != batch_) continue;
        if (first < 0) first = row;
        last = row;
    }
    if (first >= 0) emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
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

void SongListModel::setAvailable(int row, bool available) {
    rows_[row].unavailable = !available;
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
