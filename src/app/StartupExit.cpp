// Start-up and exit of the main window.
#include <QCheckBox>
#include <QCloseEvent>
#include <QSlider>
#include <QTreeView>

#include "app/MainWindow.h"
#include "common/Numbers.h"
#include "settings/Settings.h"
#include "volume/VolumeWindow.h"

namespace melvo {

namespace {

std::string settingOr(const std::string& key, const std::string& path, const char* fallback) {
    std::string value = readSetting(key, kSettingsSection, path);
    return value == kNoSetting ? fallback : value;
}

// lyricsDisplay only tells on from off; values beyond 16 bits count as on.
int displayFlag(const std::string& text) { return leadingNumber(text) != 0 ? 1 : 0; }

}  // namespace

bool MainWindow::autoPlayOn() const { return leadingNumber(autoPlayMode) != 0; }

void MainWindow::startUp() {
    openMixer();

    lyricsDisplaySetting = settingOr("KASI_DISPLAY", settingsPath(), "0");
    lyricsDisplay = displayFlag(lyricsDisplaySetting);
    showLyricsMenuItem->setChecked(lyricsDisplaySetting != "0");
    hideLyricsMenuItem->setChecked(lyricsDisplaySetting == "0");

    autoPlayMode = settingOr("AUTO", settingsPath(), "0");

    randomPlaySetting = settingOr("RANDAM", settingsPath(), "0");
    randomOrderBox->setChecked(randomPlaySetting != "0");

    defaultVolumeSetting = settingOr("vol", settingsPath(), "6553");
    const int initialVolume = leadingWholeNumber(defaultVolumeSetting);
    volumeSlider->setValue(initialVolume);
    ensureVolumeWindow()->initialVolumeSlider->setValue(initialVolume);

    loadSongList();

    if (songEntries.count() == 0) {
        showNoSongsControls();
        return;
    }
    manualPlayMenuItem->setChecked(!autoPlayOn());
    autoPlayMenuItem->setChecked(autoPlayOn());
    if (autoPlayOn()) {
        showAutoIdleControls();
    } else {
        showManualIdleControls();
    }
    songListView->setAllColumnsShowFocus(true);
    songEntries.setCurrent(0);
    autoPlayStarted = 0;
}

void MainWindow::exitProgram() {
    if (exitStarted_) return;
    exitStarted_ = true;

    randomPlaySetting = randomOrderBox->isChecked() ? "1" : "0";
    writeSetting(randomPlaySetting, "RANDAM", kSettingsSection, settingsPath());
    restoreStartupVolume();
    onStopButtonClicked();
    if (!saveSongList()) {
        exitStarted_ = false;  // the user chose to stay so the song list is not lost
        return;
    }
    closeMixer();
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
