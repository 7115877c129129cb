// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "desktop/launcher/DesktopLauncher.h"

#include <QDesktopServices>

namespace melvo {

bool QtDesktopLauncher::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace melvo
