// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A collection through the real window: several files from the add button, a
// folder from the menu and by a drop, a playlist read and written; the rows
// and the saved list file.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QTest>

#include "support/WindowHarness.h"
#include "window/library/SongListModel.h"

namespace melvo::test {
namespace {

TEST(CollectionWindow, FilesFoldersAndPlaylistsJoinTheRowsAndTheListFile) {
    WindowHarness h;
    MainWindow& w = h.start();
    const auto song = [&](const std::string& name) {
        QDir().mkpath(QString::fromStdString(h.path(name.substr(0, name.rfind('/')))));
        h.writeFile(name, "ID3");
        return h.path(name);
    };
    const auto searched = [&](QAction* item) {
        item->trigger();
        QTRY_VERIFY(!w.songListPanel->search().isRunning());
    };
    std::vector<std::string> expected = {song("one/c.mp3"), song("one/a.mp3")};
    h.dialogs.chosenFiles = {QString::fromStdString(expected[0]),
                             QString::fromStdString(expected[1])};
    w.songListPanel->onAddSongButtonClicked();
    // Cancelled dialogs change nothing and say so.
    for (QAction* item : {w.addFolderMenuItem, w.readPlaylistMenuItem, w.writePlaylistMenuItem})
        item->trigger();
    EXPECT_EQ(h.dialogs.messages.size(), 3u);
    EXPECT_EQ(w.songListPanel->rows()->rowCount(), 2);
    h.dialogs.messages.clear();

    const std::string z = song("music/2 b/10 z.mp3");
    song("music/notes.txt");
    expected.insert(expected.end(), {song("music/1 a/x.MP3"), song("music/2 b/9 y.mp3"), z});
    h.dialogs.chosenFolder = QString::fromStdString(h.path("music"));
    searched(w.addFolderMenuItem);
    expected.push_back(song("music/1 a/new.mp3"));
    searched(w.addFolderMenuItem);  // only the song that came since
    searched(w.addFolderMenuItem);
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_TRUE(h.dialogs.messages[0].contains("すべて一覧に登録されています"));

    h.writeFile("music/list.m3u8", "#EXTM3U\n#EXTINF:9,z\n2 b/10 z.mp3\ngone.mp3\n");
    h.dialogs.chosenFile = QString::fromStdString(h.path("music/list.m3u8"));
    searched(w.readPlaylistMenuItem);
    expected.push_back(z);  // a playlist's songs join even when listed
    ASSERT_EQ(h.dialogs.messages.size(), 2u);
    EXPECT_TRUE(h.dialogs.messages[1].contains("存在しないファイル　1 件"));

    const std::string dropped = song("dropped/d.mp3");
    w.songListPanel->addDroppedSongs(
        {QUrl::fromLocalFile(QString::fromStdString(h.path("dropped")))});
    QTRY_COMPARE(w.songListPanel->rows()->rowCount(), static_cast<int>(expected.size()) + 1);
    expected.push_back(dropped);

    const SongListModel& rows = *w.songListPanel->rows();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(rows.fullPath(static_cast<int>(i)).toStdString(), expected[i]) << i;
    std::string playlist = "#EXTM3U\n", listFile;
    for (const std::string& path : expected) {
        playlist += path + "\n";
        listFile += path + "\r\n";
    }
    h.dialogs.savedFile = QString::fromStdString(h.path("out.m3u8"));
    w.writePlaylistMenuItem->trigger();
    EXPECT_EQ(h.readFile("out.m3u8"), playlist);
    w.exitProgram();
    EXPECT_EQ(h.readFile("mvMP3.csv"), listFile);
    EXPECT_EQ(h.dialogs.messages.size(), 2u);
}

}  // namespace
}  // namespace melvo::test
