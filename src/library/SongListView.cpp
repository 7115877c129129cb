// The song list view: its columns, colours and selection.
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>

#include "app/MainWindow.h"
#include "library/SongListModel.h"

namespace melvo {

namespace {

// Takes files dropped from a file manager onto the list and hands them to the
// window; the view's own drag and drop (moving rows) stays off.
class SongDropFilter : public QObject {
  public:
    explicit SongDropFilter(MainWindow* window) : QObject(window), window_(window) {}

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
                QStringList files;
                for (const QUrl& url : drop->mimeData()->urls()) {
                    if (url.isLocalFile()) files.push_back(url.toLocalFile());
                }
                drop->acceptProposedAction();
                window_->addDroppedSongs(files);
                return true;
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

  private:
    MainWindow* window_;
};

}  // namespace

void MainWindow::setUpSongList() {
    songRows = new SongListModel(this);
    songListView->setModel(songRows);
    songListView->setRootIsDecorated(false);
    songListView->setItemsExpandable(false);
    songListView->setUniformRowHeights(true);  // keeps 100,000 rows quick to lay out
    songListView->setSelectionMode(QAbstractItemView::SingleSelection);
    songListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    songListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    songListView->setStyleSheet(QStringLiteral("QTreeView { background-color: #c0ffc0; }"));
    songListView->header()->setStretchLastSection(false);
    songListView->setColumnWidth(SongListModel::MarkColumn, twipsToPixels(800));
    songListView->setColumnWidth(SongListModel::TitleColumn, twipsToPixels(3000));
    songListView->setColumnWidth(SongListModel::FolderColumn, twipsToPixels(5000));
    songListView->setAcceptDrops(true);
    songListView->viewport()->setAcceptDrops(true);
    songListView->viewport()->installEventFilter(new SongDropFilter(this));
    connect(songListView, &QTreeView::clicked, this, &MainWindow::onSongListClicked);
    connect(songListView, &QTreeView::doubleClicked, this, &MainWindow::onSongListDoubleClicked);
}

int MainWindow::selectedRow() const {
    const QModelIndexList rows = songListView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MainWindow::selectRow(int row) {
    if (row < 0 || row >= songRows->rowCount()) {
        songListView->clearSelection();
        return;
    }
    // Making the row current would let the view scroll it to its nearest edge;
    // scrollToSelectedSong decides where the playing row comes to rest.
    const bool autoScroll = songListView->hasAutoScroll();
    songListView->setAutoScroll(false);
    songListView->selectionModel()->setCurrentIndex(
        songRows->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    songListView->setAutoScroll(autoScroll);
}

}  // namespace melvo
