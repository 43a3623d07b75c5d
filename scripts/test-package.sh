#!/usr/bin/env bash
# The Debian package as a user gets it (CI; needs root or sudo): builds and
# validates it (package.sh), installs it with apt-get, starts the installed
# program through its desktop entry's command on a virtual display with a
# clean home that has a game in ~/quake2, closes it as a window manager's
# close box does, checks that the settings appeared in
# ~/.config/Brushwright/ with the game found, draws a picture of a small
# compiled map with the installed 3D view (its library and Qt's OpenGL from
# the package's dependencies), removes the package and checks that the
# settings are still there.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

fail() {
    echo "test-package.sh: FAIL: $*" >&2
    exit 1
}

if [[ ${1:-} == --on-display ]]; then
    home=$2
    entry=/usr/share/applications/brushwright.desktop
    command=$(sed -n 's/^Exec=//p' "$entry")
    [[ $(command -v "${command%% *}") == /usr/bin/brushwright ]] ||
        fail "the desktop entry's Exec line ($command) does not start /usr/bin/brushwright"
    # As from the menu: a clean environment, the home folder as the current one.
    (cd "$home" && exec env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" \
        XAUTHORITY="${XAUTHORITY:-}" $command base1 >"$home/program.log" 2>&1) &
    program=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Brushwright$' | head -n 1) ||
        { cat "$home/program.log" >&2; fail "the main window did not appear"; }
    sleep 2
    import -window root "$root/build/installed-first-start.png"
    python3 tests/support/closewindow.py "$window"
    for _ in $(seq 100); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$program" 2>/dev/null && { kill "$program"; fail "the program did not end on close"; }
    wait "$program" || fail "the program ended with code $?"
    # The view's library, found in its installed place.
    shot=$home/view.png
    env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$DISPLAY" XAUTHORITY="${XAUTHORITY:-}" \
        /usr/bin/brushwright --view "$root/fuzz/corpus/fuzz_bsp/q2tool-tiny.bsp" --shot "$shot" \
        >"$home/view.log" 2>&1 || { cat "$home/view.log" >&2; fail "--view --shot failed"; }
    (($(identify -format '%k' "$shot") > 1)) || fail "the view's picture is a single colour"
    exit 0
fi

[[ -n ${BRUSHWRIGHT_DEPS_DONE:-} ]] || bash scripts/deps.sh
bash scripts/package.sh
as_root=()
((EUID == 0)) || as_root=(sudo)

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
chmod 755 "$home"
mkdir -p "$home/quake2/baseq2/maps"

started=$SECONDS
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q ./build/brushwright_*_amd64.deb
[[ -x /usr/bin/brushwright ]] || fail "/usr/bin/brushwright was not installed"

xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --on-display "$home"

settings=$home/.config/Brushwright
for name in settings.builtin default.builtin lastused.builtin; do
    [[ -f $settings/$name ]] || fail "$settings/$name is missing"
done
cmp /usr/share/brushwright/default.builtin "$settings/default.builtin" ||
    fail "default.builtin is not the shipped file"
game=$(sed -n '7{s/\r$//;p}' "$settings/settings.builtin")
expected="Z:${home//\//\\}\\quake2"
[[ $game == "$expected" ]] || fail "the game location is '$game', not '$expected'"

"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q brushwright
[[ ! -e /usr/bin/brushwright ]] || fail "/usr/bin/brushwright is still there"
[[ -f $settings/settings.builtin ]] || fail "removing the package removed the user's settings"
echo "test-package.sh: installed, started, closed and removed in $((SECONDS - started)) s;" \
    "settings in ~/.config/Brushwright, the game found in ~/quake2; the view drew a picture"
