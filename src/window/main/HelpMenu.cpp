// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The help menu: help document, home page and version window.
#include "window/main/HelpMenu.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

#include "desktop/launcher/DesktopLauncher.h"
#include "window/common/Dialogs.h"
#include "window/main/MainWindow.h"
#include "window/main/VersionWindow.h"

namespace melvo {

namespace {

std::optional<QStringList>& chosenHelpFolders() {
    static std::optional<QStringList> folders;
    return folders;
}

// Shows the busy cursor until the browser has come up: until this program
// loses the focus to it, or after kBrowserStartMilliseconds at the latest.
// Nothing waits meanwhile; the windows go on responding. Returns what gives
// the cursor back at once; the cursor comes back once whatever happens first.
std::function<void()> showBusyWhileBrowserStarts() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto* timer = new QTimer(qApp);
    timer->setSingleShot(true);
    auto restored = std::make_shared<bool>(false);
    const auto restore = [timer, restored] {
        if (*restored) return;
        *restored = true;
        QApplication::restoreOverrideCursor();
        timer->deleteLater();
    };
    QObject::connect(timer, &QTimer::timeout, qApp, restore);
    QObject::connect(qApp, &QGuiApplication::applicationStateChanged, timer,
                     [restore](Qt::ApplicationState state) {
                         if (state != Qt::ApplicationActive) restore();
                     });
    timer->start(kBrowserStartMilliseconds);
    return restore;
}

}  // namespace

QStringList helpFolders() {
    if (chosenHelpFolders()) return *chosenHelpFolders();
    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList folders{programFolder,
                        QDir::cleanPath(programFolder + QStringLiteral("/../share/melvo"))};
    for (const QString& dataFolder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(dataFolder).filePath(QStringLiteral("melvo"));
    folders.removeDuplicates();
    return folders;
}

void setHelpFolders(const QStringList& folders) { chosenHelpFolders() = folders; }

QString findHelpDocument(const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(QLatin1String(kHelpFileName));
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

void MainWindow::onInstructionsMenuItemTriggered() {
    const QStringList folders = helpFolders();
    const QString path = findHelpDocument(folders);
    if (path.isEmpty()) {
        const QString expected = folders.isEmpty()
                                     ? QLatin1String(kHelpFileName)
                                     : QDir(folders.first()).filePath(QLatin1String(kHelpFileName));
        services.dialogs.message(QStringLiteral("ヘルプファイルが見つかりません。") + expected);
        return;
    }
    if (!services.launcher.openUrl(QUrl::fromLocalFile(path)))
        services.dialogs.message(QStringLiteral("ヘルプを表示できませんでした。") + path);
}

void MainWindow::onHomePageMenuItemTriggered() {
    const QUrl address(QString::fromLatin1(kHomePageAddress));
    const auto restoreCursor = showBusyWhileBrowserStarts();
    if (!services.launcher.openUrl(address)) {
        // No browser came up: the cursor comes back before the message.
        restoreCursor();
        services.dialogs.message(QStringLiteral("ホームページを表示できませんでした。") +
                                 address.toString());
    }
}

void MainWindow::onVersionMenuItemTriggered() {
    if (!versionWindow) versionWindow = new VersionWindow(this);
    versionWindow->show();
    versionWindow->raise();
    versionWindow->activateWindow();
}

}  // namespace melvo
