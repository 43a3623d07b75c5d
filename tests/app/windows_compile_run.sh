#!/usr/bin/env bash
# The Windows program as a user gets it: unzipped into a folder, started
# under Wine on a virtual display with a map on its command line and the
# game inside the Wine prefix. "compile" is pressed as a user would; the
# batch file must then have run in Wine's command interpreter, which the
# stand-in compilers in the maps folder prove by logging their arguments.
# Then, where the real compilers are, its command line from a batch file in
# cmd: box.map compiled by id's Windows tools exits 0, leak.map 1, and the
# exit code reaches %ERRORLEVEL%.
#
# Usage: windows_compile_run.sh ZIP FAKE_COMPILER WORK_DIR [SCREENSHOT [COMPILERS]]
set -euo pipefail

zip=$1
fake_compiler=$2
work=$3
screenshot=${4:-}
compilers=${5:-}

rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
unset QT_QPA_PLATFORM WINEQT_QPA_PLATFORM

xvfb_pid=
program_pid=
cleanup() {
    [[ -n $program_pid ]] && kill "$program_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "0 passed, 1 failed"
    exit 1
}

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
xvfb_pid=$!
read -r -t 20 number <&3 || fail "Xvfb did not start"
export DISPLAY=":$number"

wineboot --init >/dev/null 2>&1 || fail "the Wine prefix could not be made"

# The user's folder, the game and its maps folder with the stand-ins.
app="$work/app"
mkdir -p "$app"
cmake -E chdir "$app" cmake -E tar xf "$zip"
# A blank in the game's folder: the batch file's path must reach the
# command interpreter whole.
maps="$WINEPREFIX/drive_c/Quake 2/baseq2/maps"
mkdir -p "$maps"
for compiler in qbsp3 qvis3 qrad3; do
    cp "$fake_compiler" "$maps/$compiler.exe"
done
printf '%s\r\n' 1 0 0 0 0 0 'C:\Quake 2' 0 0 0 > "$app/Brushwright/settings.builtin"

(cd "$work" && exec wine "$app/Brushwright/brushwright.exe" base1 >"$work/program.log" 2>&1) &
program_pid=$!

# Poll: Wine makes and drops helper windows meanwhile, and a search that
# meets one as it goes away fails with an X error.
window=
for _ in $(seq 1 120); do
    window=$(xdotool search --onlyvisible --name '^Brushwright$' 2>/dev/null | head -n1) || true
    [[ -n $window ]] && break
    sleep 0.5
done
[[ -n $window ]] || fail "the main window did not appear"
sleep 1
if [[ -n $screenshot ]] && command -v import >/dev/null; then
    import -window "$window" "$screenshot" || true
fi

xdotool mousemove --window "$window" 356 20 click 1 # "compile"
for _ in $(seq 1 120); do
    grep -q '^qrad3$' "$maps/calls.log" 2>/dev/null && break
    sleep 0.5
done
[[ -f $maps/Brushwright.bat ]] || fail "no batch file in the maps folder"
[[ -f $maps/calls.log ]] || fail "the batch file did not run the compilers"
expected=$'qbsp3\nbase1\n\nqvis3\nbase1\n\nqrad3\n-scale\n1\n-direct\n0.4\n-entity\n1\n-ambient\n0\n-maxlight\n196\nbase1'
actual=$(tr -d '\r' < "$maps/calls.log" | grep -v '^in ')
grep -qx 'in C:\\Quake 2\\baseq2\\maps' "$maps/calls.log" ||
    fail "the compilers did not run in the maps folder: $(grep '^in ' "$maps/calls.log")"
[[ $actual == "$expected"* ]] || fail "the compilers were called as: $actual"

xdotool mousemove --window "$window" 304 20 click 1 # "cancel"
for _ in $(seq 1 60); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.5
done
kill -0 "$program_pid" 2>/dev/null && fail "the program did not end on cancel"
program_pid=
grep -q 'C:\\Quake 2' "$app/Brushwright/settings.builtin" ||
    fail "the settings were not written at shut-down"

echo "the batch file ran in Wine's command interpreter: $(head -c 200 "$maps/Brushwright.bat" | tr -d '\r' | tr '\n' '|')"

if [[ -f $compilers/windows/qbsp3.exe ]]; then
    # id's tools take the game from a folder starting with quake2; the
    # textures loose, as .wal files of 16 x 16.
    game="$WINEPREFIX/drive_c/quake2 cli"
    mkdir -p "$game/baseq2/maps" "$game/pics" "$game/baseq2/textures/e1u1"
    cp "$compilers/testmap/box.map" "$compilers/testmap/leak.map" "$game/baseq2/maps/"
    cp "$compilers/testmap/colormap.pcx" "$game/pics/"
    for texture in wall1_1 floor1_3 ceil1_1; do
        python3 -c 'import struct, sys
name = sys.argv[1].encode()
sys.stdout.buffer.write(name.ljust(32, b"\0") + struct.pack("<6I", 16, 16, 100, 356, 420, 436)
                        + bytes(44) + b"\x10" * 340)' "e1u1/$texture" >"$game/baseq2/textures/e1u1/$texture.wal"
    done
    # Forward slashes: a backslash escapes in an INI file.
    printf '[compilers]\r\nsuite=id\r\nfolder=Z:%s/windows\r\n' "$compilers" \
        >"$app/Brushwright/brushwright.ini"
    printf '@echo off\r\n"%s" --compile "C:\\quake2 cli\\baseq2\\maps\\%s.map"\r\necho exit=%%errorlevel%%\r\n' \
        "Z:${app//\//\\}\\Brushwright\\brushwright.exe" box >"$WINEPREFIX/drive_c/box.bat"
    sed 's/box\.map/leak.map/' "$WINEPREFIX/drive_c/box.bat" >"$WINEPREFIX/drive_c/leak.bat"
    for map in box leak; do
        output=$(cd "$work" && DISPLAY= timeout 120 wine cmd /c "C:\\$map.bat" 2>&1) || true
        expected=$([[ $map == box ]] && echo 0 || echo 1)
        grep -q "^exit=$expected" <<<"${output//$'\r'/}" ||
            fail "brushwright --compile $map.map from cmd: expected exit $expected: $output"
    done
    [[ -f $game/baseq2/maps/box.bsp ]] || fail "--compile wrote no box.bsp"
    echo "brushwright --compile from cmd: box.map exit 0, leak.map exit 1"
fi
echo "1 passed, 0 failed"
