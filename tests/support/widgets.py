#!/usr/bin/python3
"""Reads the real program's window as a screen reader does.

    widgets.py APP TIMEOUT_SECONDS TITLE labels
    widgets.py APP TIMEOUT_SECONDS TITLE button NAME

Waits until the application APP shows a window titled TITLE, then prints
the texts of its labels, one a line, or the screen position "x y" of the
middle of its push button NAME (waiting for that button to show). Exits
with 1 when nothing came in time. Needs the display's session bus with the
accessibility bus on it.
"""
import sys
import time

import pyatspi


def showing(accessible):
    try:
        return accessible.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # gone
        return False


def window(app_name, title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != app_name:
            continue
        for top in app:
            if top is not None and top.name == title and showing(top):
                return top
    return None


def descendants(accessible):
    for child in accessible:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def button(top, name):
    for child in descendants(top):
        if child.getRole() == pyatspi.ROLE_PUSH_BUTTON and child.name == name and showing(child):
            extents = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            return "%d %d" % (extents.x + extents.width // 2, extents.y + extents.height // 2)
    return None


def main():
    app_name, timeout, title, what = sys.argv[1], float(sys.argv[2]), sys.argv[3], sys.argv[4]
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        top = window(app_name, title)
        if top is not None:
            if what == "labels":
                for child in descendants(top):
                    if child.getRole() == pyatspi.ROLE_LABEL:
                        print(child.name)
                return 0
            found = button(top, sys.argv[5])
            if found is not None:
                print(found)
                return 0
        time.sleep(0.1)
    print("nothing within %g s" % timeout)
    return 1


if __name__ == "__main__":
    sys.exit(main())
