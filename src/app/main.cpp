#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QStyleFactory>

#include "app/DataFolder.h"
#include "app/DesktopLauncher.h"
#include "app/Dialogs.h"
#include "app/ExitSignals.h"
#include "app/MainWindow.h"
#include "playback/MediaEngine.h"
#include "volume/Mixer.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Melvo"));
    // Fusion draws the back colours of the transport buttons on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 9));

    melvo::QtDialogs dialogs;
    const auto media = melvo::makeMediaEngine();
    const auto mixer = melvo::makeSystemMixer();
    melvo::QtDesktopLauncher launcher;
    // The data files stay beside the program when it runs from where it was
    // built; an installed program, or one in a folder the user cannot write,
    // keeps them in the user's data folder.
    const QString dataFolder =
        melvo::chooseDataFolder(QApplication::applicationDirPath(),
                                QStringLiteral(MELVO_INSTALLED_BINDIR), melvo::userDataFolder());
    melvo::MainWindow window(dataFolder, {dialogs, *media, *mixer, launcher});
    dialogs.setParent(&window);

    // A kill, a closed terminal or the end of the desktop session ends the
    // program through the same exit steps as the exit button, also while a
    // start-up message waits for its OK.
    melvo::runOnTerminationSignals(&window, [&window] { window.exitProgram(); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.exitProgram(); });
    window.startUp();
    window.show();
    return QApplication::exec();
}
