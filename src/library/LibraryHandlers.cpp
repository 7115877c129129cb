// The song list: its file, the list view and its editing.
#include <QLabel>
#include <QPushButton>
#include <cerrno>
#include <cstring>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "common/Numbers.h"
#include "common/TextFile.h"
#include "library/SongListFile.h"
#include "library/SongListModel.h"

namespace melvo {

namespace {

const QString kMissingSong = QStringLiteral("ファイルは存在しません。確認してください！");
const QString kChooseMp3 = QStringLiteral("ＭＰ３のデータを選択してください");
const QString kReallyDelete = QStringLiteral("ほんとうに削除しますか");

QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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
bool looksLikeMp3(const QString& name) {
    return name.contains(QStringLiteral(".MP3")) || name.contains(QStringLiteral(".mp3"));
}

}  // namespace

void MainWindow::loadSongList() {
    for (const std::string& path : jukebox.loadSongList()) {
        services.dialogs.message(qText(path) + kMissingSong);
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
    const QString pattern = QStringLiteral("*.mp3");
    const QString chosen = services.dialogs.openFile(pattern, pattern);
    if (chosen.isEmpty() || chosen == pattern || !looksLikeMp3(chosen)) {
        services.dialogs.message(kChooseMp3);
        return;
    }
    jukebox.addSongs({chosen.toStdString()});
    showSongAddedControls();
}

void MainWindow::addDroppedSongs(const QStringList& files) {
    // Dropping stands for the add button, so it works only while that button does.
    if (!addSongButton->isEnabled()) return;
    std::vector<std::string> paths;
    for (const QString& file : files) {
        std::string path = file.toStdString();
        if (looksLikeMp3(file) && fileExists(path)) paths.push_back(std::move(path));
    }
    if (paths.empty()) return;
    jukebox.addSongs(paths);
    showSongAddedControls();
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
    connect(&jukebox, &Jukebox::songChosen, this, [this](const std::string& path) {
        songPathLabel->setText(QString::fromStdString(path));
    });
    connect(&jukebox, &Jukebox::playedMarkChanged, songRows, &SongListModel::setPlayed);
    connect(&jukebox, &Jukebox::playedMarksCleared, songRows, &SongListModel::clearPlayed);
    connect(songRows, &SongListModel::playedMarkToggled, &jukebox, &Jukebox::setPlayed);
    connect(&jukebox, &Jukebox::playingEntryChanged, this, [this](int previous, int current) {
        if (previous >= 0) songRows->unmarkPlaying(previous);
        if (current >= 0) songRows->markPlaying(current);
    });
}

}  // namespace melvo
