// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "desktop/session/ExitSignals.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace melvo {

namespace {

int signalSocket[2] = {-1, -1};

// Only async-signal-safe work here: hand the signal to the window thread.
void forwardSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
}

}  // namespace

void runOnTerminationSignals(QObject* owner, std::function<void()> onSignal) {
    if (signalSocket[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSocket) != 0) return;
    auto* notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner,
                     [onSignal = std::move(onSignal)] {
                         char byte;
                         [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], &byte, 1);
                         onSignal();
                     });
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

}  // namespace melvo
