// Start-up and exit of the main window.
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QSlider>
#include <QTimer>
#include <QTreeView>

#include "app/MainWindow.h"
#include "common/Numbers.h"
#include "common/TextFile.h"
#include "settings/Settings.h"
#include "volume/SliderClicks.h"
#include "volume/VolumeWindow.h"

namespace melvo {

namespace {

// lyricsDisplay only tells on from off; values beyond 16 bits count as on.
int displayFlag(const std::string& text) { return leadingNumber(text) != 0 ? 1 : 0; }

}  // namespace

// Reads the settings and the song list and sets the controls. The timers
// start only at its end, so nothing plays or pops up behind a start-up message.
void MainWindow::startUp() {
    // Temporary files of a save that was cut short (a kill, a power cut).
    removeLeftoverTemporaryFiles(dataFolder_.toStdString());
    openMixer();

    lyricsDisplaySetting = readSetting("KASI_DISPLAY", kSettingsSection, jukebox.settingsPath());
    if (lyricsDisplaySetting == kNoSetting) lyricsDisplaySetting = "0";
    lyricsDisplay = displayFlag(lyricsDisplaySetting);
    showLyricsMenuItem->setChecked(lyricsDisplaySetting != "0");
    hideLyricsMenuItem->setChecked(lyricsDisplaySetting == "0");

    jukebox.loadSettings();
    randomOrderBox->setChecked(jukebox.randomOrder());
    SliderClicks::setValueQuietly(volumeSlider, jukebox.initialVolume());
    SliderClicks::setValueQuietly(ensureVolumeWindow()->initialVolumeSlider,
                                  jukebox.initialVolume());

    loadSongList();
    noSongsNoticeTimer->start();

    if (jukebox.entries().count() == 0) {
        showNoSongsControls();
    } else {
        manualPlayMenuItem->setChecked(!jukebox.autoPlayOn());
        autoPlayMenuItem->setChecked(jukebox.autoPlayOn());
        if (jukebox.autoPlayOn()) {
            showAutoIdleControls();
        } else {
            showManualIdleControls();
        }
        songListView->setAllColumnsShowFocus(true);
        jukebox.entries().setCurrent(0);
        jukebox.beginAutoPlaySupervision();
    }
    startedUp_ = true;
    openSongFiles({});  // what was handed in meanwhile
}

void MainWindow::exitProgram() {
    if (exitStarted_) return;
    exitStarted_ = true;

    jukebox.saveRandomOrder();
    jukebox.restoreStartupVolume();
    jukebox.stop();
    if (!saveSongList()) {
        exitStarted_ = false;  // the user chose to stay so the song list is not lost
        return;
    }
    jukebox.closeMixer();
    endProgram();
}

// Closing the window runs the exit steps; the window stays when the user chose
// not to exit after a failed save.
void MainWindow::closeEvent(QCloseEvent* event) {
    exitProgram();
    if (exitStarted_) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace melvo
