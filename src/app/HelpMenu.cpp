// The help menu: help document, home page and version window.
#include "app/MainWindow.h"

namespace melvo {

void MainWindow::MENU_HELP_SOUSA_Click() {}
void MainWindow::MENU_HELP_HPMEPAGE_Click() {}
void MainWindow::MENU_HELP_VER_Click() {}

}  // namespace melvo
