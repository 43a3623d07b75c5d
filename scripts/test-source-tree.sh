#!/usr/bin/env bash
# The program built as a distribution builds it, from a source tree that is
# not a git clone: the clone's files as `git archive` writes them (HEAD, with
# uncommitted changes to its files), unpacked into a fresh folder. There it
# configures, builds, installs into a DESTDIR and builds the Debian package
# (scripts/package.sh, lintian included). The source archive written there
# must leave out build trees and editor files, be the same bytes twice and
# the same bytes as the clone's, and unpack to a tree that configures and
# builds the program.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

fail() {
    echo "test-source-tree.sh: FAIL: $*" >&2
    exit 1
}

[[ -n ${BRUSHWRIGHT_DEPS_DONE:-} ]] || bash scripts/deps.sh
version=$(sed -n 's/^project(Brushwright VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || fail "no version in CMakeLists.txt"
started=$SECONDS

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src=$work/src
mkdir "$src"
commit=$(git stash create)
git archive "${commit:-HEAD}" | tar -x -C "$src"
[[ ! -e $src/.git ]] || fail "the fresh tree is a git clone"

configure=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRUSHWRIGHT_WERROR=ON -DBUILD_TESTING=OFF)
if command -v ccache >/dev/null; then
    # The two trees' paths differ: relative ones let the second build hit.
    export CCACHE_BASEDIR=$work CCACHE_NOHASHDIR=true
    configure+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$src" -B "$src/build" "${configure[@]}"
cmake --build "$src/build"

# What the archive must leave out: editor files and other build trees.
mkdir -p "$src/.vscode" "$src/build-win/qt" "$src/obj-x86_64-linux-gnu"
touch "$src/.vscode/settings.json" "$src/src/.main.cpp.swp" "$src/CMakeLists.txt~" \
    "$src/build-win/qt/Qt6Core.dll" "$src/obj-x86_64-linux-gnu/CMakeCache.txt"

DESTDIR=$work/stage cmake --install "$src/build"
installed=$work/stage/usr/local
[[ -x $installed/bin/brushwright ]] || fail "cmake --install put no program in $installed/bin"
archive=$installed/share/doc/brushwright/brushwright-source.tar.gz
[[ -f $archive ]] || fail "cmake --install wrote no $archive"

BRUSHWRIGHT_DEPS_DONE=1 bash "$src/scripts/package.sh"
deb=$(ls "$src"/build/brushwright_*_amd64.deb)
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/brushwright/brushwright-source.tar.gz \
    >"$work/from-deb.tar.gz"
cmp "$archive" "$work/from-deb.tar.gz" ||
    fail "the package's source archive differs from the one cmake --install wrote"
cmake -DSOURCE_DIR="$root" -DOUT="$work/from-clone.tar.gz" -DPREFIX="brushwright-$version" \
    -DSCRATCH="$work/scratch" -P cmake/SourceArchive.cmake
if ! cmp "$archive" "$work/from-clone.tar.gz"; then
    diff <(tar -tvzf "$work/from-clone.tar.gz") <(tar -tvzf "$archive") >&2 || true
    fail "the fresh tree's source archive differs from the clone's"
fi

unpacked=$work/unpacked
mkdir "$unpacked"
tar -xzf "$archive" -C "$unpacked"
[[ $(ls -A "$unpacked") == "brushwright-$version" ]] ||
    fail "the source archive's top folder is not brushwright-$version: $(ls -A "$unpacked")"
# The program alone: the tree above has built everything else.
cmake -S "$unpacked/brushwright-$version" -B "$unpacked/build" "${configure[@]}"
cmake --build "$unpacked/build" --target brushwright

echo "test-source-tree.sh: built, installed and packaged from a tree without git, its source" \
    "archive the clone's bytes and built again, in $((SECONDS - started)) s"
