// Keeping the playing row of the song list in view.
#include "library/ListScrolling.h"

#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

#include "app/MainWindow.h"
#include "library/SongListModel.h"

namespace melvo {

int rowsToScroll(int top, int perPage, int sel) {
    if (sel < 0) return 0;
    const int bottom = top + perPage - 1;
    const int half = std::max(0, perPage - 1) / 2;
    if (sel < top) return sel - top - half;
    if (sel > bottom) return sel - bottom + half;
    return 0;
}

// Measured in the view's own rows: its first visible row, how many whole rows
// fit, and the scroll bar, which counts rows when the view scrolls per item.
void MainWindow::scrollToSelectedSong() {
    const int sel = selectedRow();
    if (sel < 0) return;
    const QModelIndex topIndex = songListView->indexAt(QPoint(0, 0));
    if (!topIndex.isValid()) return;
    const int rowHeight = songListView->visualRect(topIndex).height();
    if (rowHeight <= 0) return;
    const int perPage = std::max(1, songListView->viewport()->height() / rowHeight);

    const int rows = rowsToScroll(topIndex.row(), perPage, sel);
    if (rows == 0) return;
    QScrollBar* bar = songListView->verticalScrollBar();
    const int step =
        songListView->verticalScrollMode() == QAbstractItemView::ScrollPerItem ? 1 : rowHeight;
    bar->setValue(bar->value() + rows * step);  // the bar stops at the first and last row
}

}  // namespace melvo
