#!/usr/bin/env bash
# Builds the Windows program and its tests with mingw-w64 against the Qt SDK
# in ../shared/windows-qt, runs every test under Wine, and leaves the
# portable zip in build-win/out/package/.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash "$root/scripts/deps.sh" --windows

sdk_archive=${BRUSHWRIGHT_QT_MINGW_SDK:-$root/../shared/windows-qt/qt6-mingw-sdk.tar.xz}
build=build-win
if [[ ! -f $build/qt6-mingw/mingw-w64-x86_64.cmake ]]; then
    [[ -f $sdk_archive ]] || { echo "test-windows.sh: no Qt SDK at $sdk_archive" >&2; exit 1; }
    mkdir -p "$build"
    tar -xJf "$sdk_archive" -C "$build"
fi

generator=()
[[ -f $build/out/CMakeCache.txt ]] || generator=(-G Ninja)
cmake -S . -B "$build/out" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/$build/qt6-mingw/mingw-w64-x86_64.cmake" \
    -DBRUSHWRIGHT_WERROR=ON
cmake --build "$build/out"

# Wine draws Windows programs, and measures their fonts, through its X
# driver: the tests run on a virtual display.
status=0
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" \
    ctest --test-dir "$build/out" --output-on-failure --no-tests=error || status=$?
WINEPREFIX="$root/$build/out/wineprefix" wineserver -k 2>/dev/null || true

echo "test-windows.sh: portable program in $build/out/package/Brushwright-win64.zip"
exit "$status"
