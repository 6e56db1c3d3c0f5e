#!/usr/bin/python3
"""Prints what a screen reader finds of a running program through AT-SPI (the
interface Orca uses): every showing object with its role and name. Exits 1
when a button has no name, which a reader could only call "button".

  screen_reader_tree.py APPNAME [BUTTON]   BUTTON: click the push button of
                                           that name first (opens a window)
"""
import subprocess
import sys
import time

import pyatspi

BUTTONS = {"push button", "toggle button", "check box", "radio button"}


def find_app(name):
    desk = pyatspi.Registry.getDesktop(0)
    for i in range(desk.childCount):
        app = desk.getChildAtIndex(i)
        if app is not None and name.lower() in (app.name or "").lower():
            return app
    sys.exit(f"no application named {name} on the accessibility bus")


def walk(acc, depth, lines, unnamed):
    try:
        if not acc.getState().contains(pyatspi.STATE_SHOWING):
            return
        role, name = acc.getRoleName(), acc.name
    except Exception:  # an object gone while walking
        return
    lines.append(f"{'  ' * depth}{role}: {name!r}")
    if role in BUTTONS and not name.strip():
        unnamed.append(lines[-1].strip())
    for i in range(acc.childCount):
        walk(acc.getChildAtIndex(i), depth + 1, lines, unnamed)


def find(acc, role, name):
    if acc.getRoleName() == role and acc.name == name:
        return acc
    for i in range(acc.childCount):
        found = find(acc.getChildAtIndex(i), role, name)
        if found:
            return found
    return None


def main():
    app = find_app(sys.argv[1])
    if len(sys.argv) > 2:
        # A modal window would hold an AT-SPI action call: click as a user does.
        button = find(app, "push button", sys.argv[2])
        if button is None:
            sys.exit(f"no button {sys.argv[2]}")
        e = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(e.x + e.width // 2),
                        str(e.y + e.height // 2), "click", "1"], check=True)
        time.sleep(2)
    lines, unnamed = [], []
    walk(app, 0, lines, unnamed)
    print("\n".join(lines))
    for line in unnamed:
        print("UNNAMED:", line)
    sys.exit(1 if unnamed else 0)


main()
