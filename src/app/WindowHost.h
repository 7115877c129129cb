// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The main window as the media controls' host.
#pragma once

#include "desktop/mpris/Mpris.h"
#include "window/main/MainWindow.h"

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
