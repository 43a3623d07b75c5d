#!/usr/bin/python3
"""Finds the real program's next message box as a screen reader does, and
answers it with a key as a user would.

    boxes.py APP TIMEOUT_SECONDS [KEY]

Waits until the application APP shows a message box, prints its title on
the first line and its text on the second, and with KEY sends that key to
the box (xdotool) and waits until the box is gone. Exits with 1 when no box
came, when the box did not stay on screen, or when it stayed after the key.
Needs the display's session bus with the accessibility bus on it.
"""
import subprocess
import sys
import time

import pyatspi

SETTLE_SECONDS = 0.3


def showing(accessible):
    try:
        return accessible.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # the window is gone
        return False


def message_boxes(app_name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name != app_name:
            continue
        for window in app:
            if window is not None and window.getRole() == pyatspi.ROLE_ALERT and showing(window):
                yield window


def box_text(box):
    return " ".join(child.name for child in box if child is not None and
                    child.getRole() == pyatspi.ROLE_LABEL and child.name)


def x_window(box):
    """The X window of the box: the visible window of its title and size."""
    extents = box.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % box.name],
                           capture_output=True, text=True).stdout.split()
    for window in found:
        shape = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window],
                               capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in shape.split())
        if int(values["WIDTH"]) == extents.width and int(values["HEIGHT"]) == extents.height:
            return window
    return found[-1] if found else None


def main():
    app_name, timeout = sys.argv[1], float(sys.argv[2])
    key = sys.argv[3] if len(sys.argv) > 3 else None
    deadline = time.monotonic() + timeout
    box = None
    while box is None and time.monotonic() < deadline:
        box = next(message_boxes(app_name), None)
        if box is None:
            time.sleep(0.1)
    if box is None:
        print("no message box within %g s" % timeout)
        return 1
    print(box.name)
    print(box_text(box))
    sys.stdout.flush()
    # A box that an ended event loop closes flashes and is gone.
    time.sleep(SETTLE_SECONDS)
    if not showing(box):
        print("the box closed by itself")
        return 1
    if key is None:
        return 0
    window = x_window(box)
    if window is None:
        print("no X window for the box")
        return 1
    subprocess.run(["xdotool", "windowfocus", "--sync", window])
    subprocess.run(["xdotool", "key", key])
    while showing(box) and time.monotonic() < deadline + 5:
        time.sleep(0.1)
    if showing(box):
        print("the box stayed after %s" % key)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
