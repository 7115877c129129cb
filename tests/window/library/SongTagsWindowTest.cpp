// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The list's tag columns through the real window: a folder of songs fills
// them as a reader answers, the length is corrected on play, and the columns
// the header's menu hides stay hidden at the next start.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <atomic>
#include <map>

#include "support/WindowHarness.h"
#include "window/library/SongListModel.h"

namespace melvo::test {
namespace {

TEST(SongTagsWindow, AFolderOfSongsFillsTheColumnsAndTheHeaderMenuIsRemembered) {
    WindowHarness h;
    QDir().mkpath(QString::fromStdString(h.path("music")));
    const std::map<std::string, SongInfo> tagged = {
        {"a.mp3", {"青空", "青空バンド", "夏", "", 1, 2001, 185'400}},
        {"b.mp3", {"", "Ménage", "", "", 0, 0, 3'725'000}},
    };
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        h.writeFile("music/" + std::string(name), "ID3");
    h.readTags = [&h, &tagged](const std::string& path) -> std::optional<SongInfo> {
        const auto found = tagged.find(path.substr(h.path("music/").size()));
        if (found == tagged.end()) return std::nullopt;
        return found->second;
    };
    MainWindow& w = h.start();
    h.dialogs.chosenFolder = QString::fromStdString(h.path("music"));
    w.addFolderMenuItem->trigger();
    const SongListModel& rows = *w.songListPanel->rows();
    QTRY_COMPARE(rows.rowCount(), 3);
    QTRY_COMPARE(rows.artist(1), QStringLiteral("Ménage"));

    const auto shown = [&](int row, int column) {
        return rows.data(rows.index(row, column), Qt::DisplayRole).toString();
    };
    using M = SongListModel;
    EXPECT_EQ(shown(0, M::TitleColumn), "青空");
    EXPECT_EQ(shown(1, M::TitleColumn), "b.mp3") << "no title: the file name";
    EXPECT_EQ(shown(0, M::AlbumColumn), "夏");
    EXPECT_EQ(shown(0, M::LengthColumn), "3:05");
    EXPECT_EQ(shown(1, M::LengthColumn), "1:02:05");
    EXPECT_EQ(shown(2, M::LengthColumn), "");
    EXPECT_EQ(rows.data(rows.index(0, M::FolderColumn), Qt::ToolTipRole).toString(),
              QString::fromStdString(h.path("music/a.mp3")) + "\n青空\n青空バンド\n夏");

    QHeaderView* header = w.songListView->header();
    QStringList headers;
    for (int shownAt = 0; shownAt < M::ColumnCount; ++shownAt)
        headers << rows.headerData(header->logicalIndex(shownAt), Qt::Horizontal, Qt::DisplayRole)
                       .toString();
    EXPECT_EQ(headers.join('|'), "演奏中|曲　名|アーティスト|アルバム|時間|ホルダー名");

    h.media.lengths[h.path("music/a.mp3")] = 200'000;
    w.jukebox.playEntry(0);
    EXPECT_EQ(shown(0, M::LengthColumn), "3:20") << "measured on play";

    // The header's menu: untick アルバム.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* item : menu->actions())
            if (item->text() == "アルバム") item->trigger();
        menu->close();
    });
    w.songListPanel->showColumnMenu({10, 5});
    EXPECT_TRUE(w.songListView->isColumnHidden(M::AlbumColumn));
    w.songListView->setColumnWidth(M::ArtistColumn, 123);
    w.exitProgram();

    // The next start shows the same from the tag cache and reads nothing.
    std::atomic<int> reads = 0;
    h.readTags = [&reads](const std::string&) -> std::optional<SongInfo> {
        ++reads;
        return std::nullopt;
    };
    MainWindow& second = h.start();
    const SongListModel& again = *second.songListPanel->rows();
    QTRY_COMPARE(again.artist(1), QStringLiteral("Ménage"));
    EXPECT_EQ(again.tagTitle(0), "青空");
    EXPECT_EQ(reads, 0);
    EXPECT_TRUE(second.songListView->isColumnHidden(M::AlbumColumn));
    EXPECT_FALSE(second.songListView->isColumnHidden(M::ArtistColumn));
    EXPECT_EQ(second.songListView->columnWidth(M::ArtistColumn), 123);
}

}  // namespace
}  // namespace melvo::test
