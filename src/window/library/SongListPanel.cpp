// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/library/SongListPanel.h"

#include <sys/stat.h>

#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeView>
#include <QUrl>
#include <cerrno>
#include <cstring>

#include "core/common/FileNames.h"
#include "core/common/TextFile.h"
#include "core/jukebox/Jukebox.h"
#include "core/library/Playlist.h"
#include "core/library/SearchReport.h"
#include "core/library/SongListFile.h"
#include "core/tags/TagScanner.h"
#include "window/common/Dialogs.h"
#include "window/common/Twips.h"
#include "window/library/ListScrolling.h"
#include "window/library/SearchProgress.h"
#include "window/library/SongListModel.h"

namespace melvo {

namespace {

const QString kMissingSong = QStringLiteral("ファイルは存在しません。確認してください！");
const QString kChooseMp3 = QStringLiteral("ＭＰ３のデータを選択してください");
const QString kReallyDelete = QStringLiteral("ほんとうに削除しますか");
const QString kPlaylistFilter = QStringLiteral("プレイリスト (*.m3u8 *.m3u *.M3U8 *.M3U)");
const QString kNoSongsToWrite =
    QStringLiteral("曲の一覧に曲がありません。書き出すものはありません。");
const QString kNoFolderChosen =
    QStringLiteral("フォルダーが選ばれなかったので、何も追加しませんでした。");
const QString kNoPlaylistChosen =
    QStringLiteral("プレイリストが選ばれなかったので、何も追加しませんでした。");
const QString kNoPlaylistWritten =
    QStringLiteral("書き出し先が選ばれなかったので、何も書き出しませんでした。");

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Why a file could not be written, in the user's words where the cause is a
// common one, else the system's own text.
QString saveFailureReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return QStringLiteral("書き込みが許可されていません");
        case EROFS:
            return QStringLiteral("読み取り専用の場所です");
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("ディスクに空きがありません");
        case EISDIR:
            return QStringLiteral("同じ名前のフォルダーがあります");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("保存先のフォルダーがありません");
        case EIO:
            return QStringLiteral("ディスクの読み書きに失敗しました");
        default:
            return QString::fromLocal8Bit(std::strerror(error));
    }
}

// Takes files dropped from a file manager onto the list and hands them to the
// panel; the view's own drag and drop (moving rows) stays off.
class SongDropFilter : public QObject {
  public:
    explicit SongDropFilter(SongListPanel* panel) : QObject(panel), panel_(panel) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* drag = static_cast<QDropEvent*>(event);
                if (drag->mimeData()->hasUrls()) drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto* drop = static_cast<QDropEvent*>(event);
                drop->acceptProposedAction();
                panel_->addDroppedSongs(drop->mimeData()->urls());
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

  private:
    SongListPanel* panel_;
};

}  // namespace

SongListPanel::SongListPanel(Controls controls, Jukebox& jukebox, Dialogs& dialogs,
                             TagScanner& tags, QObject* parent)
    : QObject(parent),
      c_(controls),
      jukebox_(jukebox),
      dialogs_(dialogs),
      tags_(tags),
      rows_(new SongListModel(this)),
      search_(new SongSearch(this)) {
    setObjectName(QStringLiteral("songListPanel"));
    setUpView();
    new SearchProgress(*search_, c_.view->window());  // the window owns it
    connect(c_.addSongButton, &QPushButton::clicked, this, &SongListPanel::onAddSongButtonClicked);
    connect(c_.deleteSongButton, &QPushButton::clicked, this,
            &SongListPanel::onDeleteSongButtonClicked);
    connect(c_.addFolderMenuItem, &QAction::triggered, this,
            &SongListPanel::onAddFolderMenuItemTriggered);
    connect(c_.readPlaylistMenuItem, &QAction::triggered, this,
            &SongListPanel::onReadPlaylistMenuItemTriggered);
    connect(c_.writePlaylistMenuItem, &QAction::triggered, this,
            &SongListPanel::onWritePlaylistMenuItemTriggered);
    connect(search_, &SongSearch::finished, this, &SongListPanel::addFound);
    followSongList();
}

void SongListPanel::setUpView() {
    QTreeView* view = c_.view;
    view->setModel(rows_);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);  // keeps 100,000 rows quick to lay out
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setStyleSheet(QStringLiteral("QTreeView { background-color: #c0ffc0; }"));
    QHeaderView* header = view->header();
    header->setStretchLastSection(false);
    for (int shown = 0; shown < SongListModel::ColumnCount; ++shown)
        header->moveSection(header->visualIndex(SongListModel::kShownOrder[shown]), shown);
    view->setColumnWidth(SongListModel::MarkColumn, twipsToPixels(800));
    view->setColumnWidth(SongListModel::TitleColumn, twipsToPixels(3000));
    view->setColumnWidth(SongListModel::ArtistColumn, twipsToPixels(1800));
    view->setColumnWidth(SongListModel::AlbumColumn, twipsToPixels(1800));
    view->setColumnWidth(SongListModel::LengthColumn, twipsToPixels(700));
    view->setColumnWidth(SongListModel::FolderColumn, twipsToPixels(5000));
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, &SongListPanel::showColumnMenu);
    view->setAcceptDrops(true);
    view->viewport()->setAcceptDrops(true);
    view->viewport()->installEventFilter(new SongDropFilter(this));
    connect(view, &QTreeView::clicked, this, &SongListPanel::onSongListClicked);
    connect(view, &QTreeView::doubleClicked, this, &SongListPanel::onSongListDoubleClicked);
}

// The rows follow the core's entries and marks.
void SongListPanel::followSongList() {
    const SongList& songs = jukebox_.songList();
    connect(&songs, &SongList::songsAdded, this, [this](const std::vector<std::string>& paths) {
        rows_->appendSongs(paths);
        tags_.scan(paths);
    });
    connect(&tags_, &TagScanner::songsScanned, rows_, &SongListModel::showTags);
    const Transport& transport = jukebox_.transport();
    connect(&transport, &Transport::songLengthKnown, this, [this, &transport](double seconds) {
        rows_->showExactLength(transport.currentPath(), seconds);
    });
    connect(&songs, &SongList::entryDeleted, this, [this](int index) {
        rows_->removeSong(index);
        selectRow(-1);  // no row is chosen until the user clicks one
    });
    connect(&songs, &SongList::songChosen, this,
            [this](const std::string& path) { c_.songPathLabel->setText(displayPath(path)); });
    connect(&songs, &SongList::playedMarkChanged, rows_, &SongListModel::setPlayed);
    connect(&songs, &SongList::playedMarksCleared, rows_, &SongListModel::clearPlayed);
    connect(&songs, &SongList::availabilityChanged, rows_, &SongListModel::setAvailable);
    connect(rows_, &SongListModel::playedMarkToggled, &jukebox_, &Jukebox::setPlayed);
    connect(&songs, &SongList::playingEntryChanged, this, [this](int previous, int current) {
        if (previous >= 0) rows_->unmarkPlaying(previous);
        if (current >= 0) rows_->markPlaying(current);
    });
    connect(&jukebox_, &Jukebox::songStarted, this, [this](int index) {
        selectRow(index);
        scrollToSelectedSong();
    });
    connect(&jukebox_, &Jukebox::songsUnlistable, this,
            [this](const std::vector<std::string>& paths) {
                dialogs_.message(QString::fromStdString(unlistableSongsMessage(paths)));
            });
}

bool SongListPanel::loadSongList() {
    const SongListLoad load = jukebox_.loadSongList();
    const std::string& file = jukebox_.songList().filePath();
    if (load.status == SongListLoad::Status::TooLarge) {
        dialogs_.message(QString::fromStdString(tooLargeSongListMessage(file)));
        return false;
    }
    if (load.status == SongListLoad::Status::Refused) {
        dialogs_.message(QString::fromStdString(refusedSongListMessage(file, load.error)));
    }
    if (!load.unavailable.empty()) {
        // Told once for them all, however many songs the missing folders hold.
        std::vector<std::string> paths;
        paths.reserve(load.unavailable.size());
        for (const size_t entry : load.unavailable)
            paths.push_back(jukebox_.songList().path(static_cast<int>(entry)));
        dialogs_.message(QString::fromStdString(unavailableSongsMessage(paths)));
    }
    for (const std::string& path : load.missing) dialogs_.message(displayPath(path) + kMissingSong);
    return true;
}

bool SongListPanel::saveSongList() {
    const int error = jukebox_.saveSongList();
    if (error == 0) return true;
    const QString question =
        QString::fromStdString(jukebox_.songList().filePath()) +
        QStringLiteral("を保存できませんでした。（") + saveFailureReason(error) +
        QStringLiteral("）\n終了すると、曲の追加や削除は失われます。終了しますか？");
    return dialogs_.askYesNo(question);
}

void SongListPanel::onSongListClicked() {
    const int row = selectedRow();
    if (row >= 0) jukebox_.chooseEntry(row);
}

void SongListPanel::onSongListDoubleClicked() {
    const int row = selectedRow();
    if (row >= 0) jukebox_.playEntry(row);
}

// Each chosen file is added as one chosen alone always was; the user is told
// once when any of them is no MP3 file, or when none was chosen.
void SongListPanel::onAddSongButtonClicked() {
    const QList<QUrl> urls = dialogs_.openFiles("*.mp3");
    std::vector<std::string> songs;
    for (const QUrl& url : urls) {
        const std::optional<std::string> path = pathFromUrl(url);
        if (path && looksLikeMp3(*path) && isRegularFile(*path)) songs.push_back(*path);
    }
    if (!songs.empty()) jukebox_.addSongFiles(songs);
    if (urls.isEmpty() || songs.size() < static_cast<size_t>(urls.size()))
        dialogs_.message(kChooseMp3);
}

void SongListPanel::addDroppedSongs(const QList<QUrl>& urls) {
    std::vector<std::string> paths;
    for (const QUrl& url : urls) {
        if (std::optional<std::string> path = pathFromUrl(url)) paths.push_back(std::move(*path));
    }
    addPaths(paths);
}

// Folders named one after another go to one search, each playlist to its own,
// in the order given.
void SongListPanel::addPaths(const std::vector<std::string>& paths) {
    using Kind = SongSearch::Request::Kind;
    std::vector<std::string> songs;
    std::vector<SongSearch::Request> requests;
    SongSearch::Request* folders = nullptr;
    for (const std::string& path : paths) {
        if (isFolder(path)) {
            if (!folders) folders = &requests.emplace_back(SongSearch::Request{Kind::Folders, {}});
            folders->paths.push_back(path);
        } else if (isPlaylistName(path) && fileExists(path)) {
            requests.push_back({Kind::Playlist, {path}});
            folders = nullptr;
        } else {
            songs.push_back(path);
        }
    }
    jukebox_.addSongFiles(songs);
    for (SongSearch::Request& request : requests) search_->start(std::move(request));
}

// A cancelled dialog changes nothing, and the user is told so.
void SongListPanel::onAddFolderMenuItemTriggered() {
    const std::optional<std::string> folder = pathFromUrl(dialogs_.openFolder());
    if (!folder) return dialogs_.message(kNoFolderChosen);
    search_->start({SongSearch::Request::Kind::Folders, {*folder}});
}

void SongListPanel::onReadPlaylistMenuItemTriggered() {
    const std::optional<std::string> playlist = pathFromUrl(dialogs_.openFile(kPlaylistFilter));
    if (!playlist) return dialogs_.message(kNoPlaylistChosen);
    search_->start({SongSearch::Request::Kind::Playlist, {*playlist}});
}

void SongListPanel::onWritePlaylistMenuItemTriggered() {
    const SongList& songs = jukebox_.songList();
    if (songs.count() == 0) return dialogs_.message(kNoSongsToWrite);
    const std::optional<std::string> path =
        pathFromUrl(dialogs_.saveFile(kPlaylistFilter, QStringLiteral("m3u8")));
    if (!path) return dialogs_.message(kNoPlaylistWritten);
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(songs.count()));
    for (int i = 0; i < songs.count(); ++i) paths.push_back(songs.path(i));
    if (const int error = writePlaylist(*path, paths)) {
        dialogs_.message(displayPath(*path) + QStringLiteral("に書き出せませんでした。（") +
                         saveFailureReason(error) + QStringLiteral("）"));
    }
}

// A folder's songs join the list where it does not hold them yet; a
// playlist's all join, in its order. Nothing of a cancelled search is added.
void SongListPanel::addFound(const SongSearch::Outcome& outcome) {
    if (outcome.cancelled) return;
    const auto* walk = std::get_if<FolderWalkResult>(&outcome.found);
    const std::vector<std::string>& songs =
        walk ? walk->songs : std::get<PlaylistRead>(outcome.found).songs;
    int added = jukebox_.addSongFiles(songs, walk ? SongSource::Folder : SongSource::Playlist);
    if (!jukebox_.begun()) added = static_cast<int>(songs.size());  // held until start-up ends
    const QString report = searchReport(outcome, added);
    if (!report.isEmpty()) dialogs_.message(report);
}

void SongListPanel::onDeleteSongButtonClicked() {
    const int row = selectedRow();
    if (rows_->rowCount() == 0 || row < 0) return;
    if (!dialogs_.askYesNo(kReallyDelete)) return;
    jukebox_.deleteEntry(row);
}

void SongListPanel::showColumnMenu(const QPoint& at) {
    QTreeView* view = c_.view;
    QMenu menu(view);
    int shownColumns = 0;
    for (int column = 0; column < SongListModel::ColumnCount; ++column)
        shownColumns += view->isColumnHidden(column) ? 0 : 1;
    for (const SongListModel::Column column : SongListModel::kShownOrder) {
        QAction* item =
            menu.addAction(rows_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        item->setCheckable(true);
        item->setChecked(!view->isColumnHidden(column));
        item->setEnabled(view->isColumnHidden(column) || shownColumns > 1);
        connect(item, &QAction::toggled, view,
                [view, column](bool shown) { view->setColumnHidden(column, !shown); });
    }
    menu.exec(view->header()->mapToGlobal(at));
}

int SongListPanel::selectedRow() const {
    const QModelIndexList rows = c_.view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SongListPanel::selectRow(int row) {
    QTreeView* view = c_.view;
    if (row < 0 || row >= rows_->rowCount()) {
        view->selectionModel()->clear();  // no selection and no current row
        return;
    }
    // Making the row current would let the view scroll it to its nearest edge;
    // scrollToSelectedSong decides where the playing row comes to rest.
    const bool autoScroll = view->hasAutoScroll();
    view->setAutoScroll(false);
    view->selectionModel()->setCurrentIndex(
        rows_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view->setAutoScroll(autoScroll);
}

// Measured in the view's own rows: its first visible row, how many whole rows
// fit, and the scroll bar, which counts rows when the view scrolls per item.
void SongListPanel::scrollToSelectedSong() {
    QTreeView* view = c_.view;
    const int sel = selectedRow();
    if (sel < 0) return;
    const QModelIndex topIndex = view->indexAt(QPoint(0, 0));
    if (!topIndex.isValid()) return;
    const int rowHeight = view->visualRect(topIndex).height();
    if (rowHeight <= 0) return;
    const int perPage = std::max(1, view->viewport()->height() / rowHeight);

    const int rows = rowsToScroll(topIndex.row(), perPage, sel);
    if (rows == 0) return;
    QScrollBar* bar = view->verticalScrollBar();
    const int step = view->verticalScrollMode() == QAbstractItemView::ScrollPerItem ? 1 : rowHeight;
    bar->setValue(bar->value() + rows * step);  // the bar stops at the first and last row
}

}  // namespace melvo
