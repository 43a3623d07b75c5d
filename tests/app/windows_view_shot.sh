#!/usr/bin/env bash
# The Windows program's 3D view under Wine, as a user gets the program:
# unzipped, started with --view box.bsp --shot on a virtual display. The
# test box is compiled first with the Linux q2tool from the shared
# compilers; the picture must be written and hold more than one colour.
#
# Usage: windows_view_shot.sh ZIP COMPILERS_FOLDER WORK_DIR [PICTURE_COPY]
set -euo pipefail

zip=$1
compilers=$2
work=$3
copy=${4:-}

if [[ ! -x $compilers/linux/q2tool ]]; then
    echo "SKIP: no real compilers in $compilers"
    exit 0
fi
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
unset QT_QPA_PLATFORM WINEQT_QPA_PLATFORM

xvfb_pid=
cleanup() {
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

# A game folder with a blank and an accent in its path.
maps="$work/Quake 2 été/baseq2/maps"
mkdir -p "$maps" "$work/Quake 2 été/baseq2/pics"
cp "$compilers/testmap/colormap.pcx" "$work/Quake 2 été/baseq2/pics/"
cp "$compilers/testmap/box.map" "$maps/"
for stage in -bsp -vis -rad; do
    (cd "$maps" && "$compilers/linux/q2tool" "$stage" box >/dev/null 2>&1) ||
        fail "q2tool $stage failed"
done

app="$work/app"
mkdir -p "$app"
cmake -E chdir "$app" cmake -E tar xf "$zip"
shot="$work/shot.png"
status=0
(cd "$work" && timeout 120 wine "$app/Brushwright/brushwright.exe" --view "Z:$maps/box.bsp" \
    --shot "Z:$shot" --size 640x480 >"$work/program.log" 2>&1) || status=$?
[[ $status == 0 ]] || fail "exit $status: $(cat "$work/program.log")"
[[ -f $shot ]] || fail "no picture written: $(cat "$work/program.log")"
colours=$(identify -format '%k' "$shot")
((colours > 1)) || fail "the picture is a single colour"
[[ -z $copy ]] || cp "$shot" "$copy"
echo "the Windows program drew box.bsp under Wine: 640 x 480, $colours colours"
echo "1 passed, 0 failed"
