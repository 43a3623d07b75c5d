#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing
# Brushwright need (Wine and the Windows compiler among them: the tests run
# batch files in Wine's interpreter, with stand-in compilers built for
# Windows); with --windows, also what the Windows program needs to draw
# under Wine; with --fuzz, clang and libFuzzer. apt-get runs only when a
# package is missing.
set -euo pipefail

packages=(
    cmake g++ ninja-build clang-format  # build tools and the style check
    qt6-base-dev qt6-base-dev-tools  # Qt 6 Core, Gui, Widgets, Test; moc
    libqt6opengl6-dev                # Qt 6 OpenGL, for the 3D view
    libgl1-mesa-dri                  # Mesa's software renderer: OpenGL on Xvfb
    xvfb xauth                       # a virtual display where there is none
    imagemagick xdotool              # screenshot of the main window
    fonts-liberation                 # the program's font (Liberation Sans)
    dbus-daemon at-spi2-core python3-pyatspi  # tests read the real program's
                                              # boxes as a screen reader does
    wine wine64                      # runs the batch files, as for a user
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix  # the Windows compiler,
                                     # also for the stand-in compilers
    libtbb12 libtbbmalloc2           # what the real ericw-tools compilers the
                                     # tests run need
    dpkg-dev git                     # the Debian package: its library dependencies
                                     # (dpkg-shlibdeps) and the source it carries
    lintian desktop-file-utils appstream  # its validators
    locales                          # locale sources: the code page test
                                     # generates locales for Wine with localedef
)
if [[ ${1:-} == --windows ]]; then
    packages+=(
        fonts-wine                                             # Wine's Tahoma
        libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 # what Wine's X driver
        libxcomposite1 libxfixes3 libxxf86vm1                  # loads when it draws
        nsis                                                   # the per-user installer
    )
fi
if [[ ${1:-} == --fuzz ]]; then
    packages+=(clang libfuzzer-14-dev libclang-rt-14-dev)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    echo "deps.sh: all packages present"
    exit 0
fi

if ((EUID == 0)); then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "deps.sh: missing packages: ${missing[*]}" >&2
    echo "deps.sh: run this as root (or install sudo) to install them" >&2
    exit 1
fi

# A fresh desktop often runs its own package updates at boot: wait for them
# instead of failing on the package manager's lock.
wait_for_lock=(-o DPkg::Lock::Timeout=600)
echo "deps.sh: installing ${missing[*]}"
# The package lists have a lock of their own, which update may not wait for.
for attempt in $(seq 30); do
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get "${wait_for_lock[@]}" update -q && break
    ((attempt < 30)) || exit 1
    echo "deps.sh: apt-get update failed; trying again in 10 s (another update may be running)"
    sleep 10
done
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get "${wait_for_lock[@]}" install -y -q --no-install-recommends "${missing[@]}" </dev/null
