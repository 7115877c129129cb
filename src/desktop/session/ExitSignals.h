// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#pragma once

#include <functional>

class QObject;

namespace melvo {

// Runs onSignal on the window thread when the process receives SIGTERM,
// SIGINT or SIGHUP, so a kill or a closed terminal ends the program through
// its ordinary exit steps.
void runOnTerminationSignals(QObject* owner, std::function<void()> onSignal);

}  // namespace melvo
