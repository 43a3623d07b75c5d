#!/usr/bin/env bash
# Builds the Debian package, build/brushwright_<version>_amd64.deb, from the
# build in build/ (configured as test.sh does, if not yet), and checks the
# desktop entry, the AppStream data and the package with their validators.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source "$root/scripts/prepare.sh"
brushwright_prepare "$root/scripts/package.sh" "$@"

if [[ ! -f build/CMakeCache.txt ]]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRUSHWRIGHT_WERROR=ON
fi
cmake --build build --target brushwright compressed_docs
rm -f build/brushwright_*.deb
(cd build && cpack --config CPackConfig.cmake)
deb=$(ls build/brushwright_*_amd64.deb)

desktop-file-validate packaging/brushwright.desktop
appstreamcli validate --no-net packaging/invalid.brushwright.brushwright.metainfo.xml
# Errors fail the package; the warnings it keeps are named in the README.
lintian --fail-on error "$deb"
echo "package.sh: $deb"
