// Master volume: the mixer at start-up and exit, per-song volumes and the
// volume window.
#include "app/MainWindow.h"
#include "volume/VolumeWindow.h"

namespace melvo {

std::unique_ptr<Mixer> makeSystemMixer() { return nullptr; }

VolumeWindow* MainWindow::volumeWindow() {
    if (!vol_set) vol_set = new VolumeWindow(this);
    return vol_set;
}

void MainWindow::OpenMixer() {}
void MainWindow::RestoreStartupVolume() {}
void MainWindow::CloseMixer() {}
void MainWindow::ApplySongVolume() {}
void MainWindow::Slider1_Click() {}
void MainWindow::menu_sound_set_Click() {}

}  // namespace melvo
