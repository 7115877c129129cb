// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
#include "support/WindowActivation.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace melvo::test {

namespace {

// A window manager that follows the desktop's conventions names its check
// window in this property of the root window.
bool windowManagerRuns(xcb_connection_t* connection) {
    const char name[] = "_NET_SUPPORTING_WM_CHECK";
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name),
                              nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE) return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_WINDOW, 0, 1),
            nullptr),
        &std::free);
    return property && xcb_get_property_value_length(property.get()) > 0;
}

}  // namespace

QString whyWindowsCannotBeActivated() {
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb")) return {};
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && windowManagerRuns(x11->connection())) return {};
    return QStringLiteral("no window manager runs on this X display, so no window is activated");
}

}  // namespace melvo::test
