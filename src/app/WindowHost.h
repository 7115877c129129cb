// The main window as the media controls' host.
#pragma once

#include "app/MainWindow.h"
#include "mpris/Mpris.h"

namespace melvo {

class WindowHost : public MprisHost {
  public:
    explicit WindowHost(MainWindow& window) : window_(window) {}
    void raise() override { window_.bringToFront(); }
    void quit() override { window_.exitProgram(); }

  private:
    MainWindow& window_;
};

}  // namespace melvo
