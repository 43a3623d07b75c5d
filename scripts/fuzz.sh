#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and the address and
# undefined-behaviour sanitizers into build-fuzz/, replays their seeds, then
# fuzzes each target for FUZZ_SECONDS (30 unless set) from its seeds in
# fuzz/corpus/. Fails on a crash, a hang, a sanitizer report or a broken
# invariant; the input that did it is kept in build-fuzz/findings/. New
# inputs found on the way are not kept: the seeds stay small.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

[[ -n ${BRUSHWRIGHT_DEPS_DONE:-} ]] || bash "$root/scripts/deps.sh" --fuzz
source "$root/scripts/prepare.sh"
brushwright_prepare "$root/scripts/fuzz.sh" "$@"

seconds=${FUZZ_SECONDS:-30}
build=build-fuzz

generator=()
[[ -f $build/CMakeCache.txt ]] || generator=(-G Ninja)
# The program's own build keeps warnings at zero with g++, which also builds
# these targets; clang's extra warnings do not stop a fuzz run.
CC=clang CXX=clang++ cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRUSHWRIGHT_FUZZ=ON -DBRUSHWRIGHT_WERROR=OFF
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --no-tests=error

export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp
findings=$root/$build/findings
rm -rf "$findings"
mkdir -p "$findings"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
summary=()
for seeds in fuzz/corpus/*/; do
    target=$(basename "$seeds")
    mkdir -p "$work/$target"
    log=$build/$target.log
    echo "fuzz.sh: $target for $seconds s"
    if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/$target-" \
        "$work/$target" "$seeds" >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        status=1
        tail -n 60 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    summary+=("$(printf '%-24s %4s s %10s runs  %s' "$target" "$seconds" "${runs:-?}" "$result")")
done

echo "fuzz.sh: summary"
printf '  %s\n' "${summary[@]}"
exit "$status"
