#!/usr/bin/env bash
# Builds Brushwright and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs every test there:
# any report (a bad access, a leak, undefined behaviour) fails the test that
# met it, the real program's runs included.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source "$root/scripts/prepare.sh"
brushwright_prepare "$root/scripts/sanitize.sh" "$@"

generator=()
[[ -f build-asan/CMakeCache.txt ]] || generator=(-G Ninja)
cmake -S . -B build-asan "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRUSHWRIGHT_WERROR=ON -DBRUSHWRIGHT_SANITIZE=ON
cmake --build build-asan

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
# Leaks that are the system libraries' own, not ours.
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp
exec ctest --test-dir build-asan --output-on-failure --no-tests=error
