#!/usr/bin/env bash
# Measures Brushwright against its floor program and prints the tables:
# start-up and memory, the AutoCompile watcher's system calls, idle CPU and
# detection latency, and the batch text. Not a test: the figures depend on
# the machine and on what else runs on it.
#
#     bench/run.sh [--runs N] [--windows] [--windows-only] [--instructions]
#                  [--view] [other bench/bench.py options]
#
# Builds Release into build-release/ (and, with --windows, the Windows
# program and floor into build-win/bench/ against the Qt SDK that
# scripts/test-windows.sh uses), then runs everything on its own Xvfb.
# Needs: cmake, ninja, Qt 6, Xvfb, dbus-daemon, strace, python3; for
# --windows, mingw-w64 and Wine (scripts/deps.sh --windows); for
# --instructions, valgrind.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

windows=0
view=0
pass=()
for argument in "$@"; do
    case $argument in
    --windows) windows=1 ;;
    --view) view=1 ;;
    --windows-only)
        windows=1
        pass+=(--skip-linux)
        ;;
    *) pass+=("$argument") ;;
    esac
done

for tool in Xvfb strace python3 cmake dbus-daemon; do
    command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing" >&2; exit 1; }
done

generator=()
[[ -f build-release/CMakeCache.txt ]] || generator=(-G Ninja)
cmake -S . -B build-release "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    >/dev/null
cmake --build build-release --target brushwright brushwright_window brushwright_floor \
    brushwright_batchtext
((view == 0)) || cmake --build build-release --target brushwright_view brushwright_viewbench

if ((windows)); then
    sdk_archive=${BRUSHWRIGHT_QT_MINGW_SDK:-$root/../shared/windows-qt/qt6-mingw-sdk.tar.xz}
    if [[ ! -f build-win/qt6-mingw/mingw-w64-x86_64.cmake ]]; then
        mkdir -p build-win
        tar -xJf "$sdk_archive" -C build-win
    fi
    generator=()
    [[ -f build-win/bench/CMakeCache.txt ]] || generator=(-G Ninja)
    cmake -S . -B build-win/bench "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_TESTING=OFF -DCMAKE_TOOLCHAIN_FILE="$root/build-win/qt6-mingw/mingw-w64-x86_64.cmake" \
        >/dev/null
    cmake --build build-win/bench --target portable_zip brushwright_window brushwright_floor
    # The unzipped program, with the other two beside it on the same
    # libraries, stripped as the zip's program is.
    app=build-win/bench/app
    rm -rf "$app"
    mkdir -p "$app"
    cmake -E chdir "$app" cmake -E tar xf ../package/Brushwright-win64.zip
    for exe in brushwright_window brushwright_floor; do
        cp "build-win/bench/bin/$exe.exe" "$app/Brushwright/"
        x86_64-w64-mingw32-strip --strip-unneeded "$app/Brushwright/$exe.exe"
    done
    pass+=(--windows "$root/$app/Brushwright")
fi

exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
read -r -t 20 number <&3 || { echo "run.sh: Xvfb did not start" >&2; exit 1; }

echo "Command: bench/run.sh $*"
DISPLAY=":$number" python3 "$root/bench/bench.py" --bin "$root/build-release/bin" \
    --data "$root/data" "${pass[@]}"

# The 3D view: generated maps read, drawn and flown over, then the real
# program's view of them (bench/view.py).
if ((view)); then
    maps=$(mktemp -d)
    trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$maps"' EXIT
    DISPLAY=":$number" "$root/build-release/bin/brushwright_viewbench" "$maps"
    DISPLAY=":$number" python3 "$root/bench/view.py" "$root/build-release/bin" "$maps"
fi
