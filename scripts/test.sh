#!/usr/bin/env bash
# Builds Brushwright with warnings as errors and runs every test with CTest.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

if [[ -z ${BRUSHWRIGHT_DEPS_DONE:-} ]]; then
    bash "$root/scripts/deps.sh"
fi

# Under sudo, only the packages need root: build and test as the owner of the
# build folder (or of the clone), so that build/ stays theirs.
if ((EUID == 0)) && [[ -n ${SUDO_USER:-} && $SUDO_USER != root ]]; then
    owner=$(stat -c %U "$([[ -d build ]] && echo build || echo .)")
    if [[ $owner == "$SUDO_USER" ]]; then
        exec sudo -u "$SUDO_USER" -H env BRUSHWRIGHT_DEPS_DONE=1 bash "$root/scripts/test.sh" "$@"
    fi
fi

generator=()
[[ -f build/CMakeCache.txt ]] || generator=(-G Ninja)
cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRUSHWRIGHT_WERROR=ON
cmake --build build

# No display is needed: the tests use Qt's offscreen platform or start an
# Xvfb of their own.
exec ctest --test-dir build --output-on-failure --no-tests=error
