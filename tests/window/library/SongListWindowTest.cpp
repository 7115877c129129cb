// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The song list through the real main window: its file at start-up and exit,
// and adding, deleting, clicking and dropping songs.
#include <gtest/gtest.h>

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "core/library/SongListFile.h"
#include "support/WindowHarness.h"
#include "window/library/SongListModel.h"

namespace melvo::test {
namespace {

const QString kMissing = QStringLiteral("ファイルは存在しません。確認してください！");

class SongListWindow : public ::testing::Test {
  protected:
    // Makes an empty song file (and its folders) and gives its full path.
    std::string song(const std::string& name) {
        const std::string full = h.path(name);
        QDir().mkpath(QString::fromStdString(full.substr(0, full.rfind('/'))));
        h.writeFile(name, "ID3");
        return full;
    }
    void writeList(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        h.writeFile("mvMP3.csv", text);
    }
    std::vector<std::string> entries() {
        std::vector<std::string> all;
        for (int i = 0; i < w().jukebox.songList().entries().count(); ++i)
            all.push_back(w().jukebox.songList().entries().entry(i));
        return all;
    }
    std::string exitAndRead() {
        w().exitProgram();
        EXPECT_EQ(h.programEnds, 1);
        return h.readFile("mvMP3.csv");
    }
    MainWindow& w() { return h.window(); }
    SongListModel& rows() { return *w().songListPanel->rows(); }

    WindowHarness h;
};

TEST_F(SongListWindow, EveryLineFormLoadsAndIsWrittenBackUnchanged) {
    const std::string a = song("a.mp3");
    const std::string comma = song("b,c.mp3");
    const std::string commaFolder = song("x,y/z.mp3");
    const std::string three = song("p,q,r.mp3");
    const std::string japanese = song("日本語/曲.mp3");
    const std::vector<std::string> lines = {
        a,
        a + ", 1500",
        a + ",1500",
        a + ",",
        comma,
        comma + ", 200",
        comma + ",200",
        commaFolder,
        commaFolder + ", 7",
        three,
        japanese,
        japanese + ", 30",
        a,
    };
    writeList(lines);
    h.start();

    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(w().jukebox.noSongsNoticeDue(), false);
    EXPECT_EQ(entries(), lines);
    ASSERT_EQ(rows().rowCount(), static_cast<int>(lines.size()));
    EXPECT_EQ(rows().title(5), QStringLiteral("b,c.mp3"));
    EXPECT_EQ(rows().folder(8), QString::fromStdString(h.path("x,y/")));
    EXPECT_EQ(rows().title(11), QStringLiteral("曲.mp3"));
    EXPECT_EQ(rows().fullPath(11).toStdString(), japanese);
    EXPECT_TRUE(w().playButton->isEnabled());

    std::string expected;
    for (const std::string& line : lines) expected += line + "\r\n";
    EXPECT_EQ(exitAndRead(), expected);
}

TEST_F(SongListWindow, AListWrittenInCp932LoadsAndIsSavedInUtf8) {
    const std::string japanese = song("日本語/曲.mp3");
    const std::string folder = h.path("") + "/";
    // "日本語/曲.mp3" in CP932 bytes, once bare and once with a volume.
    const std::string cp932 = folder + "\x93\xfa\x96\x7b\x8c\xea/\x8b\xc8.mp3";
    h.writeFile("mvMP3.csv", cp932 + "\r\n" + cp932 + ", 40\r");
    h.start();

    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(entries(), (std::vector<std::string>{japanese, japanese + ", 40"}));
    EXPECT_EQ(exitAndRead(), japanese + "\r\n" + japanese + ", 40\r\n");
}

TEST_F(SongListWindow, MissingSongsAreReportedInFileOrderAndDropped) {
    const std::string a = song("a.mp3");
    const std::string b = song("b.mp3");
    const std::string gone = h.path("gone.mp3");
    const std::string goneWithVolume = h.path("gone2.mp3");
    const std::string twoCommas = h.path("x.mp3,y,z");
    writeList({a, gone, goneWithVolume + ", 99", b, twoCommas});
    h.start();

    EXPECT_EQ(h.dialogs.messages,
              (std::vector<QString>{QString::fromStdString(gone) + kMissing,
                                    QString::fromStdString(goneWithVolume) + kMissing,
                                    QString::fromStdString(twoCommas) + kMissing}));
    EXPECT_EQ(entries(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(rows().rowCount(), 2);
    EXPECT_EQ(w().jukebox.noSongsNoticeDue(), false);
    EXPECT_EQ(exitAndRead(), a + "\r\n" + b + "\r\n");
}

TEST_F(SongListWindow, SongsOfAMissingDriveAreToldOnceKeptAcrossRunsAndPassedOver) {
    const std::string a = song("a.mp3");
    const std::string usb = h.path("usb") + "/";
    writeList({a, usb + "x.mp3, 5", usb + "y.mp3", a});
    const QString told = QString::fromStdString(
        "次のフォルダーが見つからないため、その中の 2 曲を再生できない曲として一覧に残します。\n"
        "ドライブをつなぐと、また再生できます。\n" +
        usb);
    const std::string kept = h.readFile("mvMP3.csv");
    for (int run = 1; run <= 2; ++run, h.programEnds = 0) {
        h.start();
        EXPECT_EQ(h.dialogs.messages, std::vector<QString>(run, told));
        EXPECT_FALSE(rows().isAvailable(2));
        auto& jukebox = w().jukebox;
        jukebox.chooseEntry(0);
        jukebox.next();
        EXPECT_EQ(jukebox.songList().current(), 3);
        jukebox.previous();
        EXPECT_EQ(jukebox.songList().current(), 0);
        EXPECT_EQ(exitAndRead(), kept);
    }
    song("usb/x.mp3");  // the drive is back
    w().jukebox.next();
    EXPECT_EQ(w().jukebox.songList().current(), 1);
    EXPECT_TRUE(rows().isAvailable(1));
}

TEST_F(SongListWindow, EmptyLinesAnywhereAreSkipped) {
    const std::string a = song("a.mp3");
    const std::string b = song("b.mp3");
    h.writeFile("mvMP3.csv", "\r\n\r" + a + "\r\n\r\n" + b + ", 5\r\r\n");
    h.start();

    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(w().jukebox.noSongsNoticeDue(), false);
    EXPECT_EQ(entries(), (std::vector<std::string>{a, b + ", 5"}));
    EXPECT_EQ(exitAndRead(), a + "\r\n" + b + ", 5\r\n");
}

TEST_F(SongListWindow, AFileWithoutSongsLeavesTheListEmptyAndIsEmptiedAtExit) {
    for (const char* text : std::initializer_list<const char*>{"", "\r\n\r\n", nullptr}) {
        WindowHarness fresh;
        if (text) fresh.writeFile("mvMP3.csv", text);
        MainWindow& window = fresh.start();
        EXPECT_EQ(window.jukebox.noSongsNoticeDue(), true);
        EXPECT_EQ(window.jukebox.songList().entries().count(), 0);
        EXPECT_FALSE(window.deleteSongButton->isEnabled());
        window.exitProgram();
        EXPECT_TRUE(fresh.exists("mvMP3.csv"));
        EXPECT_EQ(fresh.readFile("mvMP3.csv"), "");
    }
    // Every song missing: the notice stays off, and the list is empty all the same.
    writeList({h.path("gone.mp3")});
    h.start();
    EXPECT_EQ(w().jukebox.noSongsNoticeDue(), false);
    EXPECT_EQ(w().jukebox.songList().entries().count(), 0);
}

TEST_F(SongListWindow, AFailedSaveAsksAndTheUserCanStayAndSaveLater) {
    const std::string a = song("a.mp3");
    writeList({a});
    h.start();
    const std::string listPath = h.path("mvMP3.csv");
    // A folder in the list file's place: the save cannot replace it, even as root.
    QFile::remove(QString::fromStdString(listPath));
    QDir().mkdir(QString::fromStdString(listPath));

    h.dialogs.answerYes = false;
    w().exitProgram();
    ASSERT_EQ(h.dialogs.questions.size(), 1u);
    const QString question = h.dialogs.questions[0];
    EXPECT_TRUE(question.startsWith(QString::fromStdString(listPath) + "を保存できませんでした。"))
        << question.toStdString();
    EXPECT_TRUE(question.contains("同じ名前のフォルダーがあります")) << question.toStdString();
    EXPECT_TRUE(question.endsWith("終了しますか？"));
    EXPECT_EQ(h.programEnds, 0);
    EXPECT_FALSE(w().exitStarted());
    QStringList leftOvers = QDir(h.folder.path()).entryList({"*.tmp"}, QDir::Hidden | QDir::Files);
    EXPECT_TRUE(leftOvers.isEmpty());

    // The user clears the way and exits again: the list is saved.
    QDir().rmdir(QString::fromStdString(listPath));
    EXPECT_EQ(exitAndRead(), a + "\r\n");
    EXPECT_EQ(h.dialogs.questions.size(), 1u);

    // Answering Yes exits without the save.
    WindowHarness other;
    other.start();
    QDir().mkdir(QString::fromStdString(other.path("mvMP3.csv")));
    other.window().exitProgram();
    EXPECT_EQ(other.dialogs.questions.size(), 1u);
    EXPECT_EQ(other.programEnds, 1);
}

TEST_F(SongListWindow, AddingASong) {
    const std::string a = song("a.mp3");
    writeList({a});
    h.start();
    w().songPathLabel->setText("shown");

    const std::vector<std::string> chosen = {song("new.mp3"), song("loud.MP3"), song("odd.mp3.wav"),
                                             song("take.mp3,2"), a};
    for (const std::string& path : chosen) {
        h.dialogs.chosenFile = QString::fromStdString(path);
        w().songListPanel->onAddSongButtonClicked();
    }
    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(h.dialogs.fileFilters.front(), "*.mp3");
    EXPECT_EQ(entries(), (std::vector<std::string>{a, chosen[0], chosen[1], chosen[2],
                                                   chosen[3] + ", 6553", a}));
    ASSERT_EQ(rows().rowCount(), 6);
    EXPECT_EQ(rows().title(1), QStringLiteral("new.mp3"));
    EXPECT_EQ(rows().folder(1), QString::fromStdString(h.path("") + "/"));
    EXPECT_EQ(rows().fullPath(4).toStdString(), chosen[3]);
    EXPECT_EQ(w().songPathLabel->text(), "shown");
    EXPECT_EQ(w().jukebox.songList().entries().current(), 0);
}

TEST_F(SongListWindow, NothingIsAddedWithoutAnMp3Name) {
    h.start();
    for (const std::optional<QString>& answer :
         {std::optional<QString>(), std::optional<QString>("*.mp3"), std::optional<QString>(""),
          std::optional<QString>(QString::fromStdString(h.path("song.Mp3")))}) {
        h.dialogs.chosenFile = answer;
        w().songListPanel->onAddSongButtonClicked();
    }
    EXPECT_EQ(h.dialogs.messages, std::vector<QString>(4, "ＭＰ３のデータを選択してください"));
    EXPECT_EQ(w().jukebox.songList().entries().count(), 0);
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_FALSE(w().playButton->isEnabled());

    // The first song added leaves the empty-list state.
    h.dialogs.chosenFile = QString::fromStdString(song("a.mp3"));
    w().songListPanel->onAddSongButtonClicked();
    EXPECT_TRUE(w().playButton->isEnabled());
    EXPECT_TRUE(w().deleteSongButton->isEnabled());
    EXPECT_FALSE(w().pauseButton->isEnabled());
    EXPECT_EQ(MainWindow::backColour(w().stopButton), ButtonColour::Highlight);
}

TEST_F(SongListWindow, DeletingSongs) {
    const std::string a = song("a.mp3"), b = song("b.mp3"), c = song("c.mp3");
    writeList({a, b + ", 5", c});
    h.start();

    // No row selected: no question.
    w().songListPanel->selectRow(-1);
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_TRUE(h.dialogs.questions.empty());

    // Answered No: nothing changes.
    w().songListPanel->selectRow(1);
    h.dialogs.answerYes = false;
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_EQ(h.dialogs.questions, std::vector<QString>{"ほんとうに削除しますか"});
    EXPECT_EQ(w().jukebox.songList().entries().count(), 3);

    // A row below the first: the buttons stay; nothing points at the deleted
    // song and no row is selected until the user clicks one.
    w().songListPanel->onSongListClicked();
    h.dialogs.answerYes = true;
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_EQ(entries(), (std::vector<std::string>{a, c}));
    EXPECT_EQ(rows().fullPath(1).toStdString(), c);
    EXPECT_EQ(w().jukebox.songList().entries().current(), -1);
    EXPECT_EQ(w().songListPanel->selectedRow(), -1);
    EXPECT_FALSE(w().songListView->currentIndex().isValid());
    EXPECT_TRUE(w().songPathLabel->text().isEmpty());
    EXPECT_TRUE(w().jukebox.songList().chosenPath().empty());
    EXPECT_TRUE(w().playButton->isEnabled());
    h.dialogs.questions.clear();
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_TRUE(h.dialogs.questions.empty()) << "no question about a row nobody chose";

    // The first row: the reset, though a song remains.
    w().songListPanel->selectRow(0);
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_EQ(entries(), std::vector<std::string>{c});
    EXPECT_EQ(rows().fullPath(0).toStdString(), c);
    EXPECT_TRUE(w().songPathLabel->text().isEmpty());
    EXPECT_TRUE(w().jukebox.songList().chosenPath().empty());
    EXPECT_FALSE(w().playButton->isEnabled());
    EXPECT_FALSE(w().deleteSongButton->isEnabled());
    EXPECT_TRUE(w().addSongButton->isEnabled());

    w().songListPanel->selectRow(0);
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_EQ(w().jukebox.songList().entries().count(), 0);
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_EQ(exitAndRead(), "");
}

TEST_F(SongListWindow, DeletingKeepsTheMarkedRowNumberOnItsSong) {
    const std::string a = song("a.mp3"), b = song("b.mp3"), c = song("c.mp3");
    writeList({a, b, c});
    h.start();
    w().jukebox.chooseEntry(2);
    w().jukebox.play();
    w().songListPanel->selectRow(1);
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_EQ(w().jukebox.songList().playingEntry(), 1);
    EXPECT_EQ(rows().markText(1), "♪♪");
    w().songListPanel->selectRow(1);
    w().songListPanel->onDeleteSongButtonClicked();
    EXPECT_EQ(w().jukebox.songList().playingEntry(), -1);
    EXPECT_EQ(w().jukebox.songList().lastPlayedEntry(), -1);
}

TEST_F(SongListWindow, ClickAndDoubleClickWithTheMouse) {
    const std::string a = song("a.mp3"), b = song("b.mp3"), c = song("c,d.mp3");
    writeList({a, b + ", 5", c + ", 7"});
    h.start();
    w().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w()));
    QWidget* viewport = w().songListView->viewport();
    const auto centreOf = [&](int row) {
        return w().songListView->visualRect(rows().index(row, 1)).center();
    };

    QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(2));
    EXPECT_EQ(w().songListPanel->selectedRow(), 2);
    EXPECT_EQ(w().jukebox.songList().entries().current(), 2);
    EXPECT_EQ(w().songPathLabel->text().toStdString(), c);
    EXPECT_TRUE(w().addSongButton->isEnabled());

    QSignalSpy doubleClicks(w().songListView, &QAbstractItemView::doubleClicked);
    // A double-click comes after the first click of the pair.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(1));
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centreOf(1));
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(w().jukebox.songList().entries().current(), 1);
    EXPECT_EQ(w().songPathLabel->text().toStdString(), b);

    // Without a selected row the handlers do nothing.
    w().songListPanel->selectRow(-1);
    w().songListPanel->onSongListClicked();
    w().songListPanel->onSongListDoubleClicked();
    EXPECT_EQ(w().jukebox.songList().entries().current(), 1);
}

std::unique_ptr<QMimeData> urlsOf(const std::vector<std::string>& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    urls.push_back(QUrl("https://example.org/x.mp3"));
    data->setUrls(urls);
    return data;
}

// A drag from a file manager: it enters the list, then drops there.
void drop(QWidget* target, const QMimeData* data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent event(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(target, &event);
}

TEST_F(SongListWindow, DroppedMp3FilesAreAddedInOrder) {
    h.start();
    w().show();
    const std::string a = song("a.mp3"), b = song("sub/b.MP3"), notes = song("notes.txt");
    QDir().mkpath(QString::fromStdString(h.path("folder.mp3")));
    const auto data = urlsOf({b, notes, h.path("gone.mp3"), h.path("folder.mp3"), a});
    drop(w().songListView->viewport(), data.get());

    EXPECT_EQ(entries(), (std::vector<std::string>{b, a}));
    ASSERT_EQ(rows().rowCount(), 2);
    EXPECT_EQ(rows().title(0), "b.MP3");
    EXPECT_TRUE(w().playButton->isEnabled());
    EXPECT_TRUE(h.dialogs.messages.empty());

    // Nothing usable: nothing changes.
    w().jukebox.startAutoPlay();
    const auto other = urlsOf({notes});
    drop(w().songListView->viewport(), other.get());
    EXPECT_EQ(w().jukebox.songList().entries().count(), 2);
    EXPECT_FALSE(w().playButton->isEnabled());

    // While the add button is off (automatic play), drops are appended all the
    // same, and the controls stay as they are.
    ASSERT_FALSE(w().addSongButton->isEnabled());
    drop(w().songListView->viewport(), data.get());
    EXPECT_EQ(entries(), (std::vector<std::string>{b, a, b, a}));
    EXPECT_FALSE(w().playButton->isEnabled());
}

// A file name is bytes: one that is not UTF-8 travels unchanged from a drop
// to the engine and into the list file; one the list cannot hold is refused.
TEST_F(SongListWindow, DroppedNamesStayBytesFromTheDropToTheEngineAndTheFile) {
    h.start();
    w().show();
    // Made by bytes: the harness's own helpers go through text.
    const std::string latin1 = h.folder.path().toStdString() + "/caf\xE9.mp3";
    const std::string broken = h.folder.path().toStdString() + "/two\rlines.mp3";
    for (const std::string& path : {latin1, broken}) std::ofstream(path) << "ID3";
    const auto data = std::make_unique<QMimeData>();
    data->setUrls(
        {QUrl::fromEncoded("file://" + QByteArray::fromStdString(latin1).toPercentEncoding("/")),
         QUrl::fromEncoded("file://" + QByteArray::fromStdString(broken).toPercentEncoding("/"))});
    drop(w().songListView->viewport(), data.get());

    EXPECT_EQ(entries(), std::vector<std::string>{latin1});
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_TRUE(h.dialogs.messages[0].contains("改行")) << h.dialogs.messages[0].toStdString();
    EXPECT_EQ(rows().title(0), QString::fromUtf8("caf\xEF\xBF\xBD.mp3")) << "shown readably";

    w().songListPanel->selectRow(0);
    w().songListPanel->onSongListDoubleClicked();
    EXPECT_TRUE(h.media.isOpen(latin1));
    EXPECT_EQ(exitAndRead(), latin1 + "\r\n");
}

// Songs handed in by a later start wait while a start-up message is open,
// then join the list.
TEST(HandedInSongs, WaitForTheEndOfStartUp) {
    WindowHarness h;
    h.writeFile("a.mp3", "mp3");
    h.writeFile("b.mp3", "mp3");
    h.writeFile("mvMP3.csv", h.path("gone.mp3") + "\r\n");
    int countDuringMessage = -1;
    h.dialogs.whileShown = [&] {
        h.window().jukebox.addSongFiles({h.path("b.mp3")});
        countDuringMessage = h.window().jukebox.songList().entries().count();
    };
    MainWindow& window = h.start();
    EXPECT_EQ(countDuringMessage, 0);
    h.dialogs.whileShown = nullptr;
    window.jukebox.addSongFiles({h.path("a.mp3"), "/nowhere/x.mp3"});
    ASSERT_EQ(window.jukebox.songList().entries().count(), 2);
    EXPECT_EQ(window.jukebox.songList().entries().entry(0), h.path("b.mp3"));
    EXPECT_EQ(window.jukebox.songList().entries().entry(1), h.path("a.mp3"));
    EXPECT_TRUE(window.playButton->isEnabled());
}

// A list file too large to read is told; the program does not run on it nor writes it.
TEST(SongListFileLimit, ATooLargeListIsToldAndLeftAsItIs) {
    WindowHarness h;
    h.writeFile("mvMP3.csv", "");
    std::filesystem::resize_file(h.path("mvMP3.csv"), kMaxSongListBytes + 1);
    EXPECT_FALSE(h.start().jukebox.begun());
    EXPECT_EQ(h.dialogs.messages,
              std::vector{QString::fromStdString(tooLargeSongListMessage(h.path("mvMP3.csv")))});
    EXPECT_EQ(h.window().jukebox.saveSongList(), 0);
    EXPECT_EQ(std::filesystem::file_size(h.path("mvMP3.csv")), kMaxSongListBytes + 1);
}

}  // namespace
}  // namespace melvo::test
