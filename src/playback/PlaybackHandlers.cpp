// Media commands and the transport controls.
#include "app/MainWindow.h"
#include "playback/MediaEngine.h"

namespace melvo {

void MainWindow::OpenAndPlay(const std::string&) {}
void MainWindow::PauseSong(const std::string&) {}
void MainWindow::ResumeSong(const std::string&) {}
void MainWindow::CloseSong(const std::string&) {}
double MainWindow::GetSongLength(const std::string&) { return 0; }
double MainWindow::GetSongPosition(const std::string&) { return 0; }
std::string MainWindow::GetPlayMode(const std::string&) { return {}; }
void MainWindow::SeekAndPlay(const std::string&, double) {}
void MainWindow::cmdPlay_Click() {}
void MainWindow::cmdPause_Click() {}
void MainWindow::cmdResume_Click() {}
void MainWindow::cmdStop_Click() {}
void MainWindow::Timer1_Timer() {}
void MainWindow::HScroll1_Change() {}

}  // namespace melvo
