// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Opens documents and web pages with the desktop's own programs.
#pragma once

#include <QString>
#include <QUrl>

namespace melvo {

class DesktopLauncher {
  public:
    virtual ~DesktopLauncher() = default;
    // Opens the file or web address with the desktop's viewer or browser;
    // false when nothing could open it.
    virtual bool openUrl(const QUrl& url) = 0;
};

class QtDesktopLauncher : public DesktopLauncher {
  public:
    bool openUrl(const QUrl& url) override;
};

}  // namespace melvo
