// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include <sys/stat.h>

#include <QApplication>
#include <QDBusConnection>
#include <QFont>
#include <QGuiApplication>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/WindowHost.h"
#include "core/playback/MediaEngine.h"
#include "core/settings/DataFolder.h"
#include "core/volume/Mixer.h"
#include "desktop/instance/SingleInstance.h"
#include "desktop/launcher/DesktopLauncher.h"
#include "desktop/notify/SongNotifier.h"
#include "desktop/session/ExitSignals.h"
#include "window/common/Dialogs.h"
#include "window/library/SongListPanel.h"
#include "window/main/MainWindow.h"
#include "window/main/Translations.h"

namespace {

std::vector<std::string> toPaths(const QByteArrayList& files) {
    std::vector<std::string> paths;
    for (const QByteArray& file : files) paths.push_back(file.toStdString());
    return paths;
}

constexpr char kUsage[] =
    "使い方: melvo [ファイル|フォルダー|プレイリスト]...\n"
    "\n"
    "MP3 ジュークボックス Melvo を起動し、指定した曲を曲リストに追加します。\n"
    "Melvo がすでに動いているときは、その Melvo に曲を渡して終了します。\n"
    "名前が「-」で始まるファイルは ./-x.mp3 のように指定してください。\n"
    "\n"
    "  --help     この説明を表示して終了します\n"
    "  --version  バージョンを表示して終了します\n";

// The exit status for --help and --version, answered before any window or
// jukebox; nothing for other arguments.
std::optional<int> answerInformationOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return EXIT_SUCCESS;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("Melvo " MELVO_VERSION);
            return EXIT_SUCCESS;
        }
    }
    return std::nullopt;
}

// The first argument that starts with "-" and names no file: an option this
// program does not know. Qt's own options are gone from argv by then.
const char* unknownOption(int argc, char** argv) {
    struct stat status {};
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-' && ::stat(argv[i], &status) != 0) return argv[i];
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = answerInformationOption(argc, argv)) return *status;
    // While a song plays the window redraws only its small read-outs, ten
    // times a second. On X11 a shared-memory image costs a round trip to the
    // X server for each of them (twice the wake-ups); plain image requests
    // cost none. The user's own choice stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Melvo"));
    // The desktop matches the window to its desktop entry by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral(MELVO_APP_ID));
    // Fusion draws the back colours of the transport buttons on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));
    melvo::installJapaneseTranslations(app);
    if (const char* option = unknownOption(argc, argv)) {
        std::fprintf(
            stderr,
            "Melvo: %s というオプションはありません。使い方は melvo --help で表示できます。\n",
            option);
        return 2;
    }

    // The data files stay beside the program when it runs from where it was
    // built; an installed program, or one in a folder the user cannot write,
    // keeps them in the user's data folder. A folder a jukebox runs on comes
    // first, so that a later start hands over to it even when that folder
    // can no longer be written.
    const QString dataFolder = melvo::chooseDataFolder(
        QApplication::applicationDirPath(), QStringLiteral(MELVO_INSTALLED_BINDIR),
        melvo::userDataFolder(), melvo::folderIsWritable, melvo::jukeboxRunsOn);

    // One jukebox per data folder: a later start hands its files to the
    // running one and ends. QApplication has taken its own options from argv.
    const QByteArrayList songFiles = melvo::fileArguments(argc, argv);
    melvo::SingleInstance instance(dataFolder);
    switch (instance.start(songFiles)) {
        case melvo::SingleInstance::Role::Primary:
            break;
        case melvo::SingleInstance::Role::HandedOver:
            return EXIT_SUCCESS;
        case melvo::SingleInstance::Role::Failed:
            return EXIT_FAILURE;
    }

    melvo::QtDialogs dialogs;
    const auto media = melvo::makeMediaEngine();
    const auto mixer = melvo::makeSystemMixer();
    melvo::QtDesktopLauncher launcher;
    melvo::MainWindow window(dataFolder, {dialogs, *media, *mixer, launcher});
    dialogs.setParent(&window);

    // A kill, a closed terminal or the end of the desktop session ends the
    // program through the same exit steps as the exit button, also while a
    // start-up message waits for its OK.
    melvo::runOnTerminationSignals(&window, [&window] { window.exitProgram(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.exitProgram(); });
    // Songs named on the command line, of this start or of a later one, are
    // added as dropped files are; a later start also brings the window up.
    QObject::connect(&instance, &melvo::SingleInstance::openRequested, &window,
                     [&window](const QByteArrayList& files) {
                         window.bringToFront();
                         window.songListPanel->addPaths(toPaths(files));
                     });
    window.songListPanel->addPaths(toPaths(songFiles));
    if (!window.startUp()) return EXIT_FAILURE;
    // The desktop's media keys and controls, and the notice of each song
    // start, where there is a session bus.
    melvo::WindowHost host(window);
    melvo::Mpris mpris(window.jukebox, host);
    mpris.publish(QDBusConnection::sessionBus());
    const melvo::SongNotifier notifier(
        window.jukebox, [&window] { return window.isActiveWindow(); },
        QDBusConnection::sessionBus());
    window.show();
    return QApplication::exec();
}
