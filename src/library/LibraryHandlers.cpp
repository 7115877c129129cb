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
    const std::optional<std::string> text = readTextFile(songListPath());
    if (!text || countFirstLineFields(*text) < 1) {
        noSongsNotice = 1;
        return;
    }
    std::vector<std::string> lines = splitCrLines(*text);
    const std::string initialVolume = blankLedNumber(leadingWholeNumber(defaultVolumeSetting));
    ExistingFiles existingFiles;
    const FileTest exists = std::ref(existingFiles);
    std::vector<std::string> missing;
    const int first = songEntries.count();
    songEntries.reserve(first + static_cast<int>(lines.size()));
    for (std::string& line : lines) {
        if (line.empty()) continue;  // hand-edited files may hold empty lines
        if (std::optional<std::string> entry = songEntryForLine(line, initialVolume, exists)) {
            songEntries.append(std::move(*entry));
        } else {
            missing.emplace_back(entryPath(line));
        }
    }
    // All rows in one insertion: a long list shows at once.
    std::vector<std::string_view> paths;
    paths.reserve(static_cast<size_t>(songEntries.count() - first));
    for (int i = first; i < songEntries.count(); ++i)
        paths.push_back(entryPath(songEntries.entry(i)));
    songRows->appendSongs(paths);

    for (const std::string& path : missing) services.dialogs.message(qText(path) + kMissingSong);
}

bool MainWindow::saveSongList() {
    int error = 0;
    if (writeFileAtomically(songListPath(), songListText(songEntries), &error)) return true;
    const QString question =
        QString::fromStdString(songListPath()) + QStringLiteral("を保存できませんでした。（") +
        saveFailureReason(error) +
        QStringLiteral("）\n終了すると、曲の追加や削除は失われます。終了しますか？");
    return services.dialogs.askYesNo(question);
}

void MainWindow::addSongListItem(const std::string& path) {
    songRows->appendSongs(std::vector<std::string_view>{path});
}

void MainWindow::removeSelectedSongItem() {
    const int row = selectedRow();
    if (row >= 0) songRows->removeSong(row);
}

void MainWindow::onSongListClicked() {
    const int row = selectedRow();
    if (row < 0) return;
    songPathLabel->setText(songRows->fullPath(row));
    songEntries.setCurrent(row);
    applySongVolume();
}

void MainWindow::onSongListDoubleClicked() {
    if (selectedRow() < 0) return;
    onStopButtonClicked();
    onSongListClicked();
    onPlayButtonClicked();
}

void MainWindow::onAddSongButtonClicked() {
    const QString pattern = QStringLiteral("*.mp3");
    const QString chosen = services.dialogs.openFile(pattern, pattern);
    if (chosen.isEmpty() || chosen == pattern || !looksLikeMp3(chosen)) {
        services.dialogs.message(kChooseMp3);
        return;
    }
    const std::string path = chosen.toStdString();
    songEntries.append(
        songEntryFor(path, blankLedNumber(leadingWholeNumber(defaultVolumeSetting))));
    addSongListItem(path);
    showSongAddedControls();
}

void MainWindow::addDroppedSongs(const QStringList& files) {
    // Dropping stands for the add button, so it works only while that button does.
    if (!addSongButton->isEnabled()) return;
    const std::string initialVolume = blankLedNumber(leadingWholeNumber(defaultVolumeSetting));
    std::vector<std::string> paths;
    for (const QString& file : files) {
        std::string path = file.toStdString();
        if (!looksLikeMp3(file) || !fileExists(path)) continue;
        songEntries.append(songEntryFor(path, initialVolume));
        paths.push_back(std::move(path));
    }
    if (paths.empty()) return;
    songRows->appendSongs(paths);
    showSongAddedControls();
}

void MainWindow::onDeleteSongButtonClicked() {
    const int row = selectedRow();
    if (songRows->rowCount() == 0 || row < 0) return;
    if (!services.dialogs.askYesNo(kReallyDelete)) return;

    songEntries.setCurrent(row);
    songEntries.remove(row);
    // The rows below move up; the marked row's number moves with them.
    if (playingItemIndex == row + 1) {
        playingItemIndex = 0;
    } else if (playingItemIndex > row + 1) {
        --playingItemIndex;
    }
    if (row == 0 || songEntries.count() == 0) {
        showSongDeletedControls();
        currentSongPath.clear();
        songPathLabel->clear();
    }
    removeSelectedSongItem();
}

}  // namespace melvo
