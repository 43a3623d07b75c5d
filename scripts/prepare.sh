# Sourced by start.sh and test.sh. Installs the packages (the one step that
# needs root); then, when run through sudo, runs the calling script again as
# the owner of build/ (or of the clone), so that build/ stays theirs and the
# program uses their Wine prefix.
brushwright_prepare() {
    local script=$1
    shift
    if [[ -z ${BRUSHWRIGHT_DEPS_DONE:-} ]]; then
        bash "$root/scripts/deps.sh"
    fi
    if ((EUID == 0)) && [[ -n ${SUDO_USER:-} && $SUDO_USER != root ]]; then
        local owner
        owner=$(stat -c %U "$([[ -d build ]] && echo build || echo .)")
        if [[ $owner == "$SUDO_USER" ]]; then
            local keep=(BRUSHWRIGHT_DEPS_DONE=1) name
            for name in DISPLAY XAUTHORITY WINEPREFIX; do
                [[ -n ${!name:-} ]] && keep+=("$name=${!name}")
            done
            exec sudo -u "$SUDO_USER" -H env "${keep[@]}" bash "$script" "$@"
        fi
    fi
}
