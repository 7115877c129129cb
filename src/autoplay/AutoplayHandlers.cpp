// Automatic play: the play modes, next and previous, and the supervising timers.
#include "app/MainWindow.h"

namespace melvo {

void MainWindow::Command4_Click() {}
void MainWindow::Command5_Click() {}
void MainWindow::Command6_Click() {}
void MainWindow::f1_menu_auto_on_Click() {}
void MainWindow::f1_menu_manual_Click() {}
void MainWindow::Timer2_Timer() {}
void MainWindow::Timer3_Timer() {}

}  // namespace melvo
