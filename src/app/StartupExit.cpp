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
    std::string value = ReadSetting(key, kSettingsSection, path);
    return value == kNoSetting ? fallback : value;
}

// lyricsDisplay only tells on from off; values beyond 16 bits count as on.
int displayFlag(const std::string& text) { return leadingNumber(text) != 0 ? 1 : 0; }

}  // namespace

bool MainWindow::autoPlayOn() const { return leadingNumber(autoPlayMode) != 0; }

void MainWindow::Form_Load() {
    OpenMixer();

    lyricsDisplaySetting = settingOr("KASI_DISPLAY", settingsPath(), "0");
    lyricsDisplay = displayFlag(lyricsDisplaySetting);
    menu_kasi_dsp->setChecked(lyricsDisplaySetting != "0");
    menu_kasi_nondsp->setChecked(lyricsDisplaySetting == "0");

    autoPlayMode = settingOr("AUTO", settingsPath(), "0");

    randomPlaySetting = settingOr("RANDAM", settingsPath(), "0");
    Check1->setChecked(randomPlaySetting != "0");

    defaultVolumeSetting = settingOr("vol", settingsPath(), "6553");
    const int initialVolume = leadingWholeNumber(defaultVolumeSetting);
    Slider1->setValue(initialVolume);
    volumeWindow()->Slider1->setValue(initialVolume);

    LoadSongList();

    if (List1.count() == 0) {
        NoSongsControls();
        return;
    }
    f1_menu_manual->setChecked(!autoPlayOn());
    f1_menu_auto_on->setChecked(autoPlayOn());
    if (autoPlayOn()) {
        AutoIdleControls();
    } else {
        ManualIdleControls();
    }
    ListView1->setAllColumnsShowFocus(true);
    List1.setCurrent(0);
    autoPlayStarted = 0;
}

void MainWindow::Command3_Click() {
    if (exitStarted_) return;
    exitStarted_ = true;

    randomPlaySetting = Check1->isChecked() ? "1" : "0";
    WriteSetting(randomPlaySetting, "RANDAM", kSettingsSection, settingsPath());
    RestoreStartupVolume();
    cmdStop_Click();
    if (!SaveSongList()) {
        exitStarted_ = false;  // the user chose to stay so the song list is not lost
        return;
    }
    CloseMixer();
    endProgram();
}

// Closing the window runs the exit steps; the window stays when the user chose
// not to exit after a failed save.
void MainWindow::closeEvent(QCloseEvent* event) {
    Command3_Click();
    if (exitStarted_) {
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace melvo
