#!/usr/bin/env bash
# Builds Brushwright with warnings as errors and its Debian package, and runs
# every test with CTest.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source "$root/scripts/prepare.sh"
brushwright_prepare "$root/scripts/test.sh" "$@"

generator=()
[[ -f build/CMakeCache.txt ]] || generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRUSHWRIGHT_WERROR=ON
cmake --build build
# The Debian package too, checked by its validators.
BRUSHWRIGHT_DEPS_DONE=1 bash "$root/scripts/package.sh"

# No display is needed: the tests use Qt's offscreen platform or start an
# Xvfb of their own.
exec ctest --test-dir build --output-on-failure --no-tests=error
