// The song list view: its columns, colours and selection.
#include <QHeaderView>
#include <QTreeView>

#include "app/MainWindow.h"
#include "library/SongListModel.h"

namespace melvo {

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
    const QModelIndex index = songRows->index(row, 0);
    ListView1->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

}  // namespace melvo
