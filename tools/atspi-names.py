#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Melvo developers
"""Prints the accessible tree of a running application as a screen reader sees
it over the accessibility bus (AT-SPI): role and name of every object.

    atspi-names.py <application name> [<name of an item to activate first>]

Run inside the desktop session (the session bus must be reachable)."""
import sys
import time

import dbus

ACC = "org.a11y.atspi.Accessible"


def bus():
    session = dbus.SessionBus()
    address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
        dbus_interface="org.a11y.Bus")
    return dbus.bus.BusConnection(address)


def walk(connection, name, path, depth, out):
    node = connection.get_object(name, path)
    props = dbus.Interface(node, "org.freedesktop.DBus.Properties")
    role = node.GetRoleName(dbus_interface=ACC)
    label = props.Get(ACC, "Name")
    out.append((depth, str(role), str(label)))
    for child_name, child_path in node.GetChildren(dbus_interface=ACC):
        walk(connection, child_name, child_path, depth + 1, out)


def activate(connection, name, path, item):
    """Runs the first action (click) of the first object called item."""
    node = connection.get_object(name, path)
    props = dbus.Interface(node, "org.freedesktop.DBus.Properties")
    if str(props.Get(ACC, "Name")) == item:
        node.DoAction(0, dbus_interface="org.a11y.atspi.Action")
        return True
    return any(activate(connection, n, p, item)
               for n, p in node.GetChildren(dbus_interface=ACC))


def main():
    wanted = sys.argv[1]
    connection = bus()
    root = connection.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
    for name, path in root.GetChildren(dbus_interface=ACC):
        app = connection.get_object(name, path)
        props = dbus.Interface(app, "org.freedesktop.DBus.Properties")
        if str(props.Get(ACC, "Name")) != wanted:
            continue
        if len(sys.argv) > 2:
            activate(connection, name, path, sys.argv[2])
            time.sleep(1)
        out = []
        walk(connection, name, path, 0, out)
        for depth, role, label in out:
            print("  " * depth + role + ": " + label)
        return 0
    print("application not found: " + wanted, file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
