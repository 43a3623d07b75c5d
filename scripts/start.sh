#!/usr/bin/env bash
# Builds Brushwright and starts it: scripts/start.sh [map]
#
# The arguments go to the program; the first is the map name (without one
# the program opens a map file dialog). Where no X display can be opened, the
# program runs on a virtual display (Xvfb) just long enough to save a
# screenshot of its main window to build/screenshot.png.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source "$root/scripts/prepare.sh"
brushwright_prepare "$root/scripts/start.sh" "$@"

generator=()
[[ -f build/CMakeCache.txt ]] || generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRUSHWRIGHT_WERROR=OFF
cmake --build build --target brushwright
# The Debian package too (build/brushwright_*.deb), checked by its validators.
BRUSHWRIGHT_DEPS_DONE=1 bash "$root/scripts/package.sh"

program=$root/build/bin/brushwright

if [[ -n ${DISPLAY:-} ]] && xdotool getdisplaygeometry >/dev/null 2>&1; then
    exec "$program" "$@"
fi

# ---------------------------------------------------------------------------
# No display: run on Xvfb, take a screenshot of the main window, stop.

echo "start.sh: no X display could be opened; running on a virtual display (Xvfb)"
arguments=("$@")
if (($# == 0)); then
    arguments=(base1)
    echo "start.sh: no map given, so the placeholder map name 'base1' is passed" \
        "(without one the program would show its map file dialog first)"
fi

screenshot=$root/build/screenshot.png
work=$(mktemp -d)
xvfb_pid=
program_pid=

stop() {
    if [[ -n $program_pid ]] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 130' INT TERM

# A free display number, with an authorization cookie of its own.
export XAUTHORITY=$work/Xauthority
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
display=
for number in $(seq 99 199); do
    [[ -e /tmp/.X$number-lock || -e /tmp/.X11-unix/X$number ]] && continue
    : >"$XAUTHORITY"
    xauth -q add ":$number" . "$cookie"
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp -auth "$XAUTHORITY" \
        >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if ! kill -0 "$xvfb_pid" 2>/dev/null; then
            break # taken meanwhile, or failed: try the next number
        fi
        if DISPLAY=:$number xdotool getdisplaygeometry >/dev/null 2>&1; then
            display=:$number
            break 2
        fi
        sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
done
if [[ -z $display ]]; then
    echo "start.sh: could not start Xvfb" >&2
    cat "$work/xvfb.log" >&2 || true
    exit 1
fi
export DISPLAY=$display
echo "start.sh: Xvfb on display $DISPLAY"

"$program" "${arguments[@]}" >"$work/program.log" 2>&1 &
program_pid=$!

# The main window's title is the program's name.
if ! windows=$(timeout 30 xdotool search --sync --onlyvisible --name '^Brushwright$'); then
    echo "start.sh: the main window did not appear within 30 seconds" >&2
    kill -0 "$program_pid" 2>/dev/null || echo "start.sh: the program has ended" >&2
    cat "$work/program.log" >&2
    exit 1
fi

# Mapped is not yet painted: give the program a moment.
sleep 2

# Should a message box share the title, the largest window is the main one.
window=
size=
largest=0
for id in $windows; do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if ((WIDTH * HEIGHT > largest)); then
        largest=$((WIDTH * HEIGHT))
        window=$id
        size=${WIDTH}x$HEIGHT
    fi
done

import -window "$window" "$screenshot"
echo "start.sh: main window ($size pixels) captured"
stop
trap - EXIT
echo "start.sh: program and Xvfb stopped"
echo "Screenshot: $screenshot"
