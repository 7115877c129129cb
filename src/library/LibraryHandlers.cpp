// The song list: its file, the list view and its editing.
#include "app/MainWindow.h"

namespace melvo {

void MainWindow::LoadSongList() {}
bool MainWindow::SaveSongList() { return true; }
void MainWindow::AddSongListItem(const std::string&) {}
void MainWindow::RemoveSelectedSongItem() {}
void MainWindow::ListView1_Click() {}
void MainWindow::ListView1_DblClick() {}
void MainWindow::Command1_Click() {}
void MainWindow::Command2_Click() {}

}  // namespace melvo
