// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The window a user lives in: it grows and comes back as it was left, its
// keys do what its buttons do, and the list outlives a kill.
#include <gtest/gtest.h>
#include <signal.h>

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <cstdio>

#include "support/PlayerWindow.h"
#include "support/ProgramCopy.h"
#include "support/WindowActivation.h"
#include "window/library/SongListModel.h"
#include "window/lyrics/LyricsWindow.h"

namespace melvo::test {
namespace {

TEST(WindowLife, ALargerWindowGivesTheListTheRoomAndComesBackAtTheNextStart) {
    WindowHarness h;
    MainWindow& first = h.start();
    first.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    const QRect listBefore = first.songListView->geometry();
    const QPoint exitBefore = first.exitButton->pos();
    const QSize larger = first.size() + QSize(200, 150);
    first.resize(larger);
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.size() == larger; }))
        << "the window was not resized";
    EXPECT_EQ(first.songListView->size(), listBefore.size() + QSize(200, 150));
    EXPECT_EQ(first.exitButton->pos(), exitBefore + QPoint(0, 150)) << "under the list";
    first.songListView->setColumnWidth(SongListModel::TitleColumn, 321);
    const QSize grown = first.size();
    first.exitProgram();

    MainWindow& second = h.start();
    EXPECT_EQ(second.size(), grown);
    EXPECT_EQ(second.songListView->columnWidth(SongListModel::TitleColumn), 321);

    // A place on a screen since unplugged is not used.
    h.writeFile("mvMP3.ini", "[WINDOW]\r\nMAIN=-9000,-9000,900,700\r\n");
    MainWindow& third = h.start();
    EXPECT_NE(third.size(), QSize(900, 700));
}

// A fresh started window with songs for each row of a table.
struct WindowKeys : PlayerWindow {
    void TestBody() override {}
    using PlayerWindow::addSongs;
    using PlayerWindow::choose;
    using PlayerWindow::h;
    using PlayerWindow::play;
    using PlayerWindow::SetUp;
    using PlayerWindow::song;
    using PlayerWindow::w;
};

TEST(WindowLife, EachKeyDoesWhatItsButtonDoesAndNothingWhileTheButtonIsOff) {
    const struct {
        const char* name;
        std::function<void(WindowKeys&)> before;
        QKeySequence key;
        std::function<void(WindowKeys&)> check;
    } rows[] = {
        {"space pauses a playing song, also in the list", [](WindowKeys& t) { t.play(0); },
         Qt::Key_Space,
         [](WindowKeys& t) {
             EXPECT_TRUE(t.w->jukebox.transport().isPaused());
             EXPECT_TRUE(t.w->songListPanel->rows()->isPlayed(0)) << "the mark stays";
         }},
        {"space resumes a paused song",
         [](WindowKeys& t) {
             t.play(0);
             t.w->jukebox.pause();
         },
         Qt::Key_Space,
         [](WindowKeys& t) { EXPECT_EQ(t.h.media.devices[t.song(0)].mode, MediaMode::Playing); }},
        {"space with nothing playing does nothing", [](WindowKeys& t) { t.choose(1); },
         Qt::Key_Space, [](WindowKeys& t) { EXPECT_TRUE(t.h.media.devices.empty()); }},
        {"enter plays the selected row", [](WindowKeys& t) { t.choose(1); }, Qt::Key_Return,
         [](WindowKeys& t) { EXPECT_EQ(t.w->jukebox.songList().playingEntry(), 1); }},
        {"delete asks and deletes the selected row",
         [](WindowKeys& t) {
             t.w->jukebox.stop();  // the buttons as after a stop
             t.choose(1);
         },
         Qt::Key_Delete,
         [](WindowKeys& t) {
             EXPECT_EQ(t.h.dialogs.questions.size(), 1u);
             EXPECT_EQ(t.w->jukebox.songList().count(), 1);
         }},
        {"delete while a song plays does nothing", [](WindowKeys& t) { t.play(1); }, Qt::Key_Delete,
         [](WindowKeys& t) {
             EXPECT_TRUE(t.h.dialogs.questions.empty());
             EXPECT_EQ(t.w->jukebox.songList().count(), 2);
         }},
        {"F1 opens the help (or says it is missing)", [](WindowKeys&) {}, Qt::Key_F1,
         [](WindowKeys& t) {
             EXPECT_EQ(t.h.launcher.opened.size() + t.h.dialogs.messages.size(), 1u);
         }},
        {"Ctrl+Q exits", [](WindowKeys&) {}, QKeySequence(Qt::CTRL | Qt::Key_Q),
         [](WindowKeys& t) { EXPECT_EQ(t.h.programEnds, 1); }},
    };
    const QString noActivation = whyWindowsCannotBeActivated();
    if (!noActivation.isEmpty())
        GTEST_SKIP() << "keys need an active window: " << qPrintable(noActivation);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WindowKeys t;
        t.SetUp();
        t.addSongs({"/m/a.mp3", "/m/b.mp3"});
        t.w->show();
        QApplication::setActiveWindow(t.w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(t.w));
        row.before(t);
        t.w->songListView->setFocus();
        QTest::keySequence(t.w->songListView, row.key);
        row.check(t);
    }
}

TEST(WindowLife, ASongStartShowsTheLyricsReadOnlyOnTheScreenWithoutTakingTheKeyboard) {
    WindowKeys t;
    t.SetUp();
    WindowHarness& h = t.h;
    MainWindow* w = t.w;
    h.writeFile("Song.txt", "la\r\n");
    t.addSongs({h.path("Song.mp3")});
    w->lyricsPanel->onShowLyricsMenuItemTriggered();
    QScreen* screen = QGuiApplication::primaryScreen();
    w->show();
    w->move(screen->availableGeometry().bottomRight() - QPoint(w->width() / 2, w->height() / 2));
    const QString noActivation = whyWindowsCannotBeActivated();
    if (noActivation.isEmpty()) {
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    } else {
        std::printf("[   NOTE   ] the keyboard's owner is not checked: %s\n",
                    qPrintable(noActivation));
    }
    t.play(0);
    QCoreApplication::processEvents();
    ASSERT_TRUE(w->lyricsPanel->lyricsWindow);
    const LyricsWindow& lyrics = *w->lyricsPanel->lyricsWindow;
    EXPECT_TRUE(lyrics.isVisible());
    EXPECT_TRUE(lyrics.lyricsBox->isReadOnly());
    // The offscreen platform activates every window it shows; a real display does not.
    if (noActivation.isEmpty() && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        EXPECT_TRUE(w->isActiveWindow());
    }
    EXPECT_TRUE(screen->availableGeometry().contains(lyrics.geometry()));
}

// A song handed in is in the list file a few seconds later, without an exit;
// the backup is the list as it was at start-up.
TEST(WindowLife, TheListOutlivesAKillAFewSecondsAfterAnAdd) {
    ProgramCopy jukebox;
    const QByteArray first = QFile::encodeName(jukebox.file("first.mp3"));
    const QByteArray added = QFile::encodeName(jukebox.file("added.mp3"));
    for (const char* name : {"first.mp3", "added.mp3"})
        QFile::copy(MELVO_FIXTURE_DIR "/tone440.mp3", jukebox.file(name));
    QFile list(jukebox.file("mvMP3.csv"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(first + "\r\n");
    list.close();

    const auto process = jukebox.run({QString::fromLocal8Bit(added)});
    ASSERT_TRUE(jukebox.holdsFolder(*process));
    QTest::qWait(3500);
    ::kill(static_cast<pid_t>(process->processId()), SIGKILL);
    process->waitForFinished();
    EXPECT_EQ(readFile(jukebox.file("mvMP3.csv")), first + "\r\n" + added + "\r\n");
    EXPECT_EQ(readFile(jukebox.file("mvMP3.csv.bak")), first + "\r\n");
}

}  // namespace
}  // namespace melvo::test
