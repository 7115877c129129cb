// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/library/SearchReport.h"

#include <QStringList>

#include "core/common/FileNames.h"

namespace melvo {

namespace {

// The folders searched: the first by name, the others by their number.
QString searched(const std::vector<std::string>& paths) {
    QString shown = QStringLiteral("「%1」").arg(displayPath(paths.front()));
    if (paths.size() > 1) shown += QStringLiteral("ほか %1 個のフォルダー").arg(paths.size() - 1);
    return shown;
}

// A line "・what　N unit" for each count above 0.
void addCount(QStringList& lines, int count, const char* what, const char* unit) {
    if (count > 0) {
        lines << QStringLiteral("・%1　%2 %3")
                     .arg(QString::fromUtf8(what))
                     .arg(count)
                     .arg(QString::fromUtf8(unit));
    }
}

QString report(const QString& head, const QStringList& skipped) {
    if (skipped.isEmpty()) return head;
    return head + QStringLiteral("\n次のものは追加しませんでした。\n") + skipped.join(u'\n');
}

QString folderReport(const std::vector<std::string>& folders, const FolderWalkResult& walk,
                     int added) {
    QStringList skipped;
    addCount(skipped, walk.unreadableFolders, "読み取れないフォルダー", "個");
    addCount(skipped, walk.unlistableNames, "名前に改行を含むファイル", "個");
    const QString from = searched(folders);
    if (walk.songs.empty()) {
        return report(from + QStringLiteral("に追加できるＭＰ３のファイルはありませんでした。"),
                      skipped);
    }
    if (added == 0) {
        return report(from + QStringLiteral("の曲はすべて一覧に登録されています。"), skipped);
    }
    if (skipped.isEmpty()) return QString();
    return report(from + QStringLiteral("から %1 曲を追加しました。").arg(added), skipped);
}

QString playlistReport(const std::string& path, const PlaylistRead& playlist, int added) {
    const QString name = QStringLiteral("「%1」").arg(displayPath(path));
    using Status = FileRead::Status;
    if (playlist.status == Status::Absent) return name + QStringLiteral("は存在しません。");
    if (playlist.status != Status::Read) {
        const int error = playlist.status == Status::Failed ? playlist.error : 0;
        return name + QStringLiteral("を読み込めませんでした。（%1）")
                          .arg(QString::fromStdString(readFailureText(error)));
    }
    if (playlist.tooLarge) return name + QStringLiteral("は大きすぎるため読み込めません。");
    QStringList skipped;
    addCount(skipped, playlist.missing, "存在しないファイル", "件");
    addCount(skipped, playlist.folders, "フォルダー", "件");
    addCount(skipped, playlist.itself, "このプレイリスト自身", "件");
    addCount(skipped, playlist.others, "ＭＰ３ではないもの", "件");
    if (playlist.songs.empty() && skipped.isEmpty()) {
        return name + QStringLiteral("には曲が書かれていません。");
    }
    if (added == 0)
        return report(name + QStringLiteral("から追加できる曲はありませんでした。"), skipped);
    if (skipped.isEmpty()) return QString();
    return report(name + QStringLiteral("から %1 曲を追加しました。").arg(added), skipped);
}

}  // namespace

QString searchReport(const SongSearch::Outcome& outcome, int added) {
    if (const auto* walk = std::get_if<FolderWalkResult>(&outcome.found))
        return folderReport(outcome.request.paths, *walk, added);
    return playlistReport(outcome.request.paths.front(), std::get<PlaylistRead>(outcome.found),
                          added);
}

}  // namespace melvo
