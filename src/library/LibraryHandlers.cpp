// The song list: its file, the list view and its editing.
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <cerrno>
#include <cstring>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "common/FileNames.h"
#include "common/TextFile.h"
#include "library/SongListFile.h"
#include "library/SongListModel.h"

namespace melvo {

namespace {

const QString kMissingSong = QStringLiteral("ファイルは存在しません。確認してください！");
const QString kChooseMp3 = QStringLiteral("ＭＰ３のデータを選択してください");
const QString kReallyDelete = QStringLiteral("ほんとうに削除しますか");

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

// Only names with ".mp3" or ".MP3" in them count as songs, wherever it stands.
bool looksLikeMp3(std::string_view name) {
    return name.find(".MP3") != std::string_view::npos ||
           name.find(".mp3") != std::string_view::npos;
}

}  // namespace

void MainWindow::loadSongList() {
    const SongListLoad load = jukebox.loadSongList();
    if (load.status == SongListLoad::Status::Refused) {
        services.dialogs.message(
            QString::fromStdString(refusedSongListMessage(jukebox.songListPath(), load.error)));
    }
    for (const std::string& path : load.missing) {
        services.dialogs.message(displayPath(path) + kMissingSong);
    }
}

bool MainWindow::saveSongList() {
    const int error = jukebox.saveSongList();
    if (error == 0) return true;
    const QString question =
        QString::fromStdString(jukebox.songListPath()) +
        QStringLiteral("を保存できませんでした。（") + saveFailureReason(error) +
        QStringLiteral("）\n終了すると、曲の追加や削除は失われます。終了しますか？");
    return services.dialogs.askYesNo(question);
}

void MainWindow::onSongListClicked() {
    const int row = selectedRow();
    if (row >= 0) jukebox.chooseEntry(row);
}

void MainWindow::onSongListDoubleClicked() {
    if (selectedRow() < 0) return;
    jukebox.stop();
    onSongListClicked();
    jukebox.play();
}

void MainWindow::onAddSongButtonClicked() {
    const std::optional<std::string> path = pathFromUrl(services.dialogs.openFile("*.mp3"));
    if (!path || !looksLikeMp3(*path) || !fileExists(*path)) {
        services.dialogs.message(kChooseMp3);
        return;
    }
    if (addSongFiles({*path}) > 0) showSongAddedControls();
}

int MainWindow::addSongFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> songs;
    for (const std::string& path : paths) {
        if (!looksLikeMp3(path) || !fileExists(path)) continue;
        if (!canBeListed(path)) {
            services.dialogs.message(QString::fromStdString(unlistableSongMessage(path)));
            continue;
        }
        songs.push_back(path);
    }
    jukebox.addSongs(songs);
    return static_cast<int>(songs.size());
}

void MainWindow::addDroppedSongs(const QList<QUrl>& urls) {
    // Dropping stands for the add button, so it works only while that button does.
    if (!addSongButton->isEnabled()) return;
    std::vector<std::string> paths;
    for (const QUrl& url : urls) {
        if (std::optional<std::string> path = pathFromUrl(url)) paths.push_back(std::move(*path));
    }
    if (addSongFiles(paths) > 0) showSongAddedControls();
}

// Files handed in from outside arrive at any time; those that come while
// start-up still runs (a start-up message is open) wait for its end.
void MainWindow::openSongFiles(const QByteArrayList& files) {
    for (const QByteArray& file : files) heldSongFiles_.push_back(file.toStdString());
    if (!startedUp_) return;
    const std::vector<std::string> paths = std::exchange(heldSongFiles_, {});
    if (addSongFiles(paths) > 0 && addSongButton->isEnabled()) showSongAddedControls();
}

void MainWindow::onDeleteSongButtonClicked() {
    const int row = selectedRow();
    if (songRows->rowCount() == 0 || row < 0) return;
    if (!services.dialogs.askYesNo(kReallyDelete)) return;
    jukebox.deleteEntry(row);
}

// The rows follow the core's entries and marks.
void MainWindow::followLibrary() {
    connect(&jukebox, &Jukebox::songsAdded, this,
            [this](const std::vector<std::string>& paths) { songRows->appendSongs(paths); });
    connect(&jukebox, &Jukebox::entryDeleted, this, [this](int index, bool listReset) {
        if (listReset) showSongDeletedControls();
        songRows->removeSong(index);
        selectRow(-1);  // no row is chosen until the user clicks one
    });
    connect(&jukebox, &Jukebox::songChosen, this,
            [this](const std::string& path) { songPathLabel->setText(displayPath(path)); });
    connect(&jukebox, &Jukebox::playedMarkChanged, songRows, &SongListModel::setPlayed);
    connect(&jukebox, &Jukebox::playedMarksCleared, songRows, &SongListModel::clearPlayed);
    connect(songRows, &SongListModel::playedMarkToggled, &jukebox, &Jukebox::setPlayed);
    connect(&jukebox, &Jukebox::playingEntryChanged, this, [this](int previous, int current) {
        if (previous >= 0) songRows->unmarkPlaying(previous);
        if (current >= 0) songRows->markPlaying(current);
    });
}

}  // namespace melvo
