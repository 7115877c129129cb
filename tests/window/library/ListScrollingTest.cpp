// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Bringing the playing row into the middle of the song list.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include "support/PlayerWindow.h"
#include "window/library/ListScrolling.h"

namespace melvo::test {
namespace {

TEST(RowsToScroll, RowInViewOrNoRowStaysPut) {
    EXPECT_EQ(rowsToScroll(0, 10, 0), 0);
    EXPECT_EQ(rowsToScroll(0, 10, 9), 0);
    EXPECT_EQ(rowsToScroll(30, 10, 35), 0);
    EXPECT_EQ(rowsToScroll(0, 10, -1), 0);
}

TEST(RowsToScroll, RowOutsideTheViewComesToTheMiddle) {
    EXPECT_EQ(rowsToScroll(0, 10, 25), 20);   // rows 20..29 visible, 25 sixth
    EXPECT_EQ(rowsToScroll(30, 10, 5), -29);  // rows 1..10 visible, 5 fifth
    EXPECT_EQ(rowsToScroll(0, 10, 10), 5);    // just below
    EXPECT_EQ(rowsToScroll(30, 10, 29), -5);  // just above
    EXPECT_EQ(rowsToScroll(0, 11, 20), 15);   // odd page: exactly the middle
    EXPECT_EQ(rowsToScroll(40, 11, 20), -25);
}

TEST(RowsToScroll, SingleRowPageBringsTheRowToTheTop) {
    EXPECT_EQ(rowsToScroll(5, 1, 10), 5);
    EXPECT_EQ(rowsToScroll(5, 1, 2), -3);
    EXPECT_EQ(rowsToScroll(5, 0, 10), 6);  // not even one whole row fits
}

class ListScrolling : public PlayerWindow {
  protected:
    void SetUp() override {
        PlayerWindow::SetUp();
        std::vector<std::string> paths;
        for (int i = 0; i < 200; ++i) paths.push_back("/m/song " + std::to_string(i) + ".mp3");
        addSongs(paths);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        view = w->songListView;
        rowHeight = view->visualRect(w->songListPanel->rows()->index(0, 0)).height();
        perPage = view->viewport()->height() / rowHeight;
        ASSERT_GE(perPage, 3);
    }

    // Plays the entry with its row not selected beforehand, as the next song
    // of automatic play starts; the row may lie anywhere.
    void playEntry(int index) {
        chooseEntry(index);
        w->jukebox.play();
    }

    int top() const { return view->indexAt(QPoint(0, 0)).row(); }
    bool visible(int row) const {
        const QRect rect = view->visualRect(w->songListPanel->rows()->index(row, 0));
        return rect.top() >= 0 && rect.bottom() < view->viewport()->height();
    }

    QTreeView* view = nullptr;
    int rowHeight = 0;
    int perPage = 0;
};

TEST_F(ListScrolling, PlayingARowBelowTheViewCentresItThenBackUp) {
    const int half = (perPage - 1) / 2;
    playEntry(100);
    EXPECT_EQ(top(), 100 - (perPage - 1 - half));
    EXPECT_TRUE(visible(100));

    playEntry(20);
    EXPECT_EQ(top(), 20 - half);
}

TEST_F(ListScrolling, RowAlreadyInViewDoesNotMove) {
    playEntry(100);
    const int before = top();
    playEntry(before + 1);
    EXPECT_EQ(top(), before);
}

TEST_F(ListScrolling, NearTheEndsTheListStopsAtItsFirstAndLastRow) {
    playEntry(199);
    EXPECT_TRUE(visible(199));
    EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
    playEntry(0);
    EXPECT_EQ(top(), 0);
}

}  // namespace
}  // namespace melvo::test
