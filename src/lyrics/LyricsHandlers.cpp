// Lyrics: the lyrics window and the lyrics editor.
#include "app/MainWindow.h"

namespace melvo {

void MainWindow::ShowLyricsForCurrentSong() {}
void MainWindow::ShowLyricsOnRequest() {}
void MainWindow::SetLyricsWindowTitle(const std::string&) {}
void MainWindow::Command7_Click() {}
void MainWindow::menu_kasi_dsp_Click() {}
void MainWindow::menu_kasi_nondsp_Click() {}
void MainWindow::menu_kasi_touroku_Click() {}
void MainWindow::PrepareLyricsEditor() {}

}  // namespace melvo
