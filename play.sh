#!/usr/bin/env bash
# Plays the game: installs the Debian packages it needs when some are missing, builds
# the game and its pictures (the play preset: no tests, no benchmarks) and starts the
# game from its stage folder (arguments go to GLUT). test.sh sources this file for its
# package and build helpers.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# What building needs, from the Build-Depends of debian/control: for the game alone
# (KIND game), without debhelper and what only the tests need (<!nocheck>); for the
# package and its tests (KIND package), all of them. Debian assumes the compiler and make.
build_depends() {
    local with_tests='' dep
    [[ $1 == package ]] && with_tests=yes
    awk '/^[^ \t]/ { on = /^Build-Depends:/; sub(/^Build-Depends:/, "") } on' "$ROOT/debian/control" | tr ',' '\n' |
        while read -r dep; do
            [[ -n $dep ]] || continue
            if [[ $dep == *'<!nocheck>'* && -z $with_tests ]]; then continue; fi
            dep=${dep%% *}
            if [[ $dep == debhelper-compat ]]; then
                [[ -n $with_tests ]] && echo debhelper
                continue
            fi
            echo "$dep"
        done
}
mapfile -t PLAY_PACKAGES < <(build_depends game)
PLAY_PACKAGES=(g++ make "${PLAY_PACKAGES[@]}")

# Installs those of the packages given that are missing. As root through apt-get; as
# anyone else it prints the line to run and exits 1. Installed packages are not asked
# for again, so a second run needs no network.
install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        if [[ $(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null) != "install ok installed" ]]; then
            missing+=("$pkg")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return 0
    fi
    if [[ $(id -u) -ne 0 ]]; then
        echo "Some packages are missing. Install them with:" >&2
        echo "sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    local log="$ROOT/build/apt.log"
    mkdir -p "$ROOT/build"
    echo "Installing ${missing[*]} (log: build/apt.log)"
    if ! (export DEBIAN_FRONTEND=noninteractive && apt-get update && apt-get install -y "${missing[@]}") \
        </dev/null >"$log" 2>&1; then
        echo "Installing the packages failed; the log follows." >&2
        cat "$log" >&2
        exit 1
    fi
}

# The build's progress lines ("[ 42%] Building CXX object ..."), as they come.
show_progress() {
    grep --line-buffered -E '^(\[ *[0-9]+%\] |-- (Configuring|Generating) done)' || true
}

# Configures and builds one preset, showing its progress; the whole output goes to
# build/<preset>-build.log, which is printed when the build fails.
build_preset() {
    local preset=$1 log="$ROOT/build/$1-build.log" started=$SECONDS
    mkdir -p "$ROOT/build"
    echo "Building $preset (log: build/$preset-build.log)"
    if ! (cd "$ROOT" && cmake --preset "$preset" && cmake --build --preset "$preset" -j 2) 2>&1 | tee "$log" |
        show_progress; then
        echo "Building $preset failed; its log follows." >&2
        cat "$log" >&2
        return 1
    fi
    echo "Built $preset in $((SECONDS - started)) s"
}

play_main() {
    if [[ -z ${DISPLAY:-} ]]; then
        echo "Slot Machine needs a display: DISPLAY is not set (to play headless, run: xvfb-run ./play.sh)" >&2
        exit 2
    fi
    install_missing "${PLAY_PACKAGES[@]}"
    build_preset play
    cd "$ROOT/build/play/stage"
    exec ./slot-machine "$@"
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    play_main "$@"
fi
