// Keeping the playing row in view.
#include "app/MainWindow.h"

namespace melvo {

void MainWindow::ScrollToSelectedSong() {}

}  // namespace melvo
