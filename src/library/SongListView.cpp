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
                window_->AddDroppedSongs(files);
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
    ListView1->setModel(songRows);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);  // keeps 100,000 rows quick to lay out
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setStyleSheet(QStringLiteral("QTreeView { background-color: #c0ffc0; }"));
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(SongListModel::MarkColumn, twipsToPixels(800));
    ListView1->setColumnWidth(SongListModel::TitleColumn, twipsToPixels(3000));
    ListView1->setColumnWidth(SongListModel::FolderColumn, twipsToPixels(5000));
    ListView1->setAcceptDrops(true);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->viewport()->installEventFilter(new SongDropFilter(this));
    connect(ListView1, &QTreeView::clicked, this, &MainWindow::ListView1_Click);
    connect(ListView1, &QTreeView::doubleClicked, this, &MainWindow::ListView1_DblClick);
}

int MainWindow::selectedRow() const {
    const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MainWindow::selectRow(int row) {
    if (row < 0 || row >= songRows->rowCount()) {
        ListView1->clearSelection();
        return;
    }
    // Making the row current would let the view scroll it to its nearest edge;
    // ScrollToSelectedSong decides where the playing row comes to rest.
    const bool autoScroll = ListView1->hasAutoScroll();
    ListView1->setAutoScroll(false);
    ListView1->selectionModel()->setCurrentIndex(
        songRows->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView1->setAutoScroll(autoScroll);
}

}  // namespace melvo
