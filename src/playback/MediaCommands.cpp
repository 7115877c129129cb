// The eight media procedures: every song is opened, played, paused, measured
// and closed through these, by its full path. Times are seconds toward the
// callers and milliseconds toward the engine.
#include <cctype>

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "common/Numbers.h"
#include "library/SongListModel.h"
#include "playback/MediaEngine.h"

namespace melvo {

namespace {

double toSeconds(std::int64_t milliseconds) { return static_cast<double>(milliseconds) / 1000.0; }

}  // namespace

bool MainWindow::openAndPlay(const std::string& path) {
    services.media.open(path);
    const bool playing = services.media.play(path);
    noticeOutputFailure();
    return playing;
}

// Without sound output nothing can be heard at all, so the user hears about it
// once; later failures of the same kind are only drained.
void MainWindow::noticeOutputFailure() {
    const std::string reason = services.media.takeOutputError();
    if (reason.empty() || outputFailureShown) return;
    outputFailureShown = true;  // before the modal box: timers tick while it is open
    services.dialogs.message(QStringLiteral("音声出力を開けませんでした。サウンドの設定を確認して"
                                            "ください！\n（%1）")
                                 .arg(QString::fromStdString(reason)),
                             MessageIcon::Exclamation);
}

void MainWindow::pauseSong(const std::string& path) { services.media.pause(path); }

void MainWindow::resumeSong(const std::string& path) { services.media.resume(path); }

// Closes the device and takes the playing mark off the marked row, whichever
// path was given. The row keeps its played mark.
void MainWindow::closeSong(const std::string& path) {
    services.media.close(path);
    if (playingItemIndex > 0 && playingItemIndex <= songRows->rowCount()) {
        songRows->unmarkPlaying(playingItemIndex - 1);
    }
}

// Opens and closes the path around the query, so asking the length of the
// song that plays closes it.
double MainWindow::songLength(const std::string& path) {
    services.media.open(path);
    const std::int64_t length = services.media.lengthMs(path);
    services.media.close(path);
    return toSeconds(length);
}

double MainWindow::songPosition(const std::string& path) {
    return toSeconds(services.media.positionMs(path));
}

std::string MainWindow::playMode(const std::string& path) {
    std::string mode = services.media.mode(path);
    for (char& c : mode) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return mode;
}

// The seek leaves the device stopped at the new place; the play that follows
// goes on from there, also when the song was paused.
void MainWindow::seekAndPlay(const std::string& path, double seconds) {
    services.media.seek(path, roundHalfEven(seconds * 1000.0));
    services.media.play(path);
}

}  // namespace melvo
