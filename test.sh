#!/usr/bin/env bash
# Runs every test: installs the packages that are missing, builds the release and asan
# presets, starts one Xvfb for the whole run, runs CTest on both presets, and exits
# non-zero when anything failed. A second run rebuilds only what changed.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=play.sh
source "$ROOT/play.sh"

# What building and testing the Debian package needs (debian/control's Build-Depends
# with debhelper and the test framework), the benchmark framework, the X server and the
# tools the tests drive and read it with, a window manager for the small and large
# screens, the fuzzer's compiler and runtime, ImageMagick for the bitmap tests, Python
# and numpy for the end-to-end tests, a sound server and its recorder for the sound
# tests, tesseract to read the status bar's counts back, the X protocol for Python (the
# frame test's expose, the presented-frames bench's damage reports), and the checkers of
# the package and its files.
mapfile -t TEST_PACKAGES < <(build_depends package)
TEST_PACKAGES+=(libbenchmark-dev xvfb xdotool x11-apps x11-utils openbox imagemagick clang libclang-rt-14-dev
                python3 python3-numpy python3-xlib pulseaudio pulseaudio-utils tesseract-ocr lintian appstream
                desktop-file-utils man-db dpkg-dev git)
TEST_PACKAGES+=(x11-xserver-utils)  # xrandr, which sets up the monitors of the monitor test

XVFB_PID=
stop_xvfb() {
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=
    fi
}
trap stop_xvfb EXIT
trap 'exit 130' INT TERM

# Starts Xvfb on the first free display number from :90 on and exports DISPLAY.
start_xvfb() {
    local n i
    for ((n = 90; n < 190; n++)); do
        if [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; then
            continue
        fi
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$ROOT/build/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for ((i = 0; i < 100; i++)); do
            if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                export DISPLAY=":$n"
                echo "Xvfb started on display :$n"
                return 0
            fi
            if ! kill -0 "$XVFB_PID" 2>/dev/null; then
                break  # another server took this number first
            fi
            sleep 0.1
        done
        stop_xvfb
    done
    echo "Could not start Xvfb; its last log follows." >&2
    cat "$ROOT/build/xvfb.log" >&2
    return 1
}

started=$SECONDS
install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
build_preset release
build_preset asan
start_xvfb

# Both runs happen whatever the first one gives.
cd "$ROOT"
failed=()
echo "== ctest --preset release"
ctest --preset release || failed+=(release)
echo "== ctest --preset asan"
ctest --preset asan || failed+=(asan)

elapsed=$((SECONDS - started))
if ((${#failed[@]})); then
    echo "test.sh: FAILED in ${failed[*]} ($((elapsed / 60)) min $((elapsed % 60)) s)"
    exit 1
fi
echo "test.sh: release and asan passed ($((elapsed / 60)) min $((elapsed % 60)) s)"
