#!/usr/bin/env bash
# Installs the game and checks it as installed: with cmake --install of BUILD_DIR into
# a scratch prefix (KIND prefix), or as the Debian package (KIND deb), built from a copy
# of the source tree this script lies in by dpkg-buildpackage with nocheck, passed
# through lintian, and installed with apt-get (as root; otherwise unpacked into a
# scratch root). Checks what landed where and that the desktop entry,
# the AppStream data and the manual page validate, and starts the installed command from
# another folder under the X display in DISPLAY until the game prints "perspective"; its
# window's class must be the desktop entry's StartupWMClass, and Q ends it with status 0.
# Usage: test_install.sh KIND BUILD_DIR BINDIR PROGRAMDIR PICTUREDIR APPSDIR ICONDIR MANDIR METAINFODIR
# (the directories relative to the prefix, as GNUInstallDirs gave them; BINDIR is where
# KIND puts the command)
set -euo pipefail

kind=$1
build=$2
bindir=$3
programdir=$4
picturedir=$5
appsdir=$6
icondir=$7
manualdir=$8
metainfodir=$9
source=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[[ -n ${DISPLAY:-} ]] || fail "the installed game needs an X display (DISPLAY)"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/slot-install.XXXXXX")
game_pid=
installed=
cleanup() {
    if [[ -n $game_pid ]]; then
        kill "$game_pid" 2>/dev/null || true
        wait "$game_pid" 2>/dev/null || true
    fi
    # The package leaves the machine as it found it.
    if [[ -n $installed ]]; then
        apt-get purge -y -o DPkg::Lock::Timeout=600 slot-machine >"$scratch/purge.log" 2>&1 ||
            { cat "$scratch/purge.log"; echo "FAIL: could not remove the package again" >&2; }
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# Copies the source tree as git sees it (tracked files and new ones it does not ignore),
# or, outside a git checkout, everything but the build folders.
copy_source() {
    local to=$1
    mkdir -p "$to"
    if [[ $(git -C "$source" rev-parse --show-toplevel 2>/dev/null) == "$source" ]]; then
        git -C "$source" ls-files -z --cached --others --exclude-standard |
            tar -C "$source" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$to" -xf -
    else
        tar -C "$source" --exclude=./build --exclude='./obj-*' --exclude=./.git -cf - . | tar -C "$to" -xf -
    fi
}

case $kind in
prefix)
    prefix=$scratch/root/opt/slot
    cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
        { cat "$scratch/install.log"; fail "cmake --install failed"; }
    ;;
deb)
    command -v dpkg-buildpackage >/dev/null || { echo "no dpkg-buildpackage here: no .deb to test"; exit 77; }
    copy_source "$scratch/src/slot-machine"
    # The unit tests ran in the build that runs this test: the package is built without.
    (cd "$scratch/src/slot-machine" && DEB_BUILD_OPTIONS="nocheck parallel=2" dpkg-buildpackage -us -uc) \
        >"$scratch/build.log" 2>&1 || { tail -n 60 "$scratch/build.log"; fail "dpkg-buildpackage failed"; }
    version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
    arch=$(dpkg --print-architecture)
    deb=$scratch/src/slot-machine_${version}_${arch}.deb
    changes=$scratch/src/slot-machine_${version}_${arch}.changes
    for made in "$deb" "$scratch/src/slot-machine-dbgsym_${version}_${arch}.deb" "$changes" \
        "$scratch/src/slot-machine_${version}.dsc"; do
        [[ -f $made ]] || fail "dpkg-buildpackage made no $(basename "$made"): $(ls "$scratch/src")"
    done
    echo "dpkg-buildpackage made $(cd "$scratch/src" && echo *.deb *.dsc)"
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    [[ $depends =~ (libglut3\.12|freeglut3) ]] || fail "the package does not depend on freeglut"
    [[ $depends =~ libglu1 ]] || fail "the package does not depend on GLU"
    [[ $depends =~ (libgl1|libopengl0) ]] || fail "the package does not depend on libGL"
    [[ $depends =~ libopenal1 ]] || fail "the package does not depend on OpenAL"
    # No error and no warning, even pedantic; a package not yet in the archive closes no
    # bug asking for it. Information tags are shown.
    lintian -I --pedantic "$changes" >"$scratch/lintian.txt" 2>&1 || { cat "$scratch/lintian.txt"; fail "lintian failed"; }
    cat "$scratch/lintian.txt"
    if grep -E '^[EW]: ' "$scratch/lintian.txt" | grep -v ' new-package-should-close-itp-bug$'; then
        fail "lintian reports errors or warnings"
    fi
    # The build takes dpkg-buildflags' hardening=+all: no information tag may say otherwise.
    if grep -E '^[A-Z]: slot-machine.*hardening-' "$scratch/lintian.txt"; then fail "lintian finds hardening missing"; fi
    echo "lintian -I --pedantic: no error, no warning, no hardening missing"
    if [[ $(id -u) -eq 0 ]] && command -v apt-get >/dev/null; then
        # Whatever slot-machine was installed before is replaced, and removed at the end.
        installed=yes
        apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=600 "$deb" >"$scratch/apt.log" 2>&1 ||
            { cat "$scratch/apt.log"; fail "apt-get could not install the package"; }
        prefix=/usr
        echo "apt-get installed the package"
    else
        dpkg-deb -x "$deb" "$scratch/root"
        prefix=$scratch/root/usr
        echo "not root: the package is unpacked into a scratch root instead of installed"
    fi
    ;;
*) fail "unknown kind $kind" ;;
esac

# What landed where.
launcher=$prefix/$bindir/slot-machine
[[ -x $launcher ]] || fail "no executable launcher at $bindir/slot-machine"
[[ -x $prefix/$programdir/slot-machine ]] || fail "no program at $programdir/slot-machine"
pictures=$(find "$prefix/$picturedir" -maxdepth 1 -name '*.bmp' 2>/dev/null | wc -l || true)
[[ $pictures -eq 19 ]] || fail "$pictures pictures in $picturedir, not 19"
# The same bytes whichever build drew them: the package's build drew its own.
for picture in "$prefix/$picturedir"/*.bmp; do
    cmp -s "$picture" "$build/stage/$(basename "$picture")" || fail "$(basename "$picture") differs from the staged one"
done
# Only the .deb puts the command in games/, and runs it there from the desktop entry.
if [[ $kind == deb ]]; then
    exec_line="Exec=/usr/$bindir/slot-machine"
    manual=$prefix/$manualdir/slot-machine.6.gz
    [[ ! -e $prefix/bin/slot-machine ]] || fail "the .deb has a command in bin/ besides $bindir/"
    for doc in copyright changelog.gz; do
        [[ -s $prefix/share/doc/slot-machine/$doc ]] || fail "no $doc in share/doc/slot-machine"
    done
else
    exec_line="Exec=slot-machine"
    manual=$prefix/$manualdir/slot-machine.6
    [[ ! -e $prefix/games ]] || fail "cmake --install put something in games/"
fi
desktop=$prefix/$appsdir/slot-machine.desktop
[[ -f $desktop ]] || fail "no slot-machine.desktop in $appsdir"
grep -qx "$exec_line" "$desktop" || fail "the desktop entry has no line $exec_line"
grep -qx 'Icon=slot-machine' "$desktop" || fail "the desktop entry does not name the icon"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
# The folder may hold other programs' data too (an installed package's).
mapfile -t metainfo < <(grep -l '<launchable type="desktop-id">slot-machine.desktop<' \
    "$prefix/$metainfodir"/*.metainfo.xml 2>/dev/null || true)
[[ ${#metainfo[@]} -eq 1 ]] || fail "expected one .metainfo.xml launching slot-machine.desktop in $metainfodir"
# Offline: the screenshots' addresses are not fetched. Pedantic hints fail too.
appstreamcli validate --pedantic --no-net "${metainfo[0]}" >"$scratch/appstream.txt" 2>&1 ||
    { cat "$scratch/appstream.txt"; fail "the AppStream data does not validate"; }
if grep -E '^[EWP]: ' "$scratch/appstream.txt"; then fail "appstreamcli reports more than information"; fi
[[ -s $manual ]] || fail "no manual page $manualdir/$(basename "$manual")"
warnings=$(man --warnings -l "$manual" 2>&1 >/dev/null) || fail "man cannot format $manual"
[[ -z $warnings ]] || fail "man --warnings on the manual page: $warnings"
# No word, path or file name is broken across lines, at any usual width.
for width in 40 50 60 70 80 100; do
    broken=$(MANWIDTH=$width LC_ALL=C.UTF-8 man -l "$manual" 2>/dev/null | grep -E '[[:alpha:]](‐|-)$' || true)
    [[ -z $broken ]] || fail "the manual page breaks words at $width columns: $broken"
done
echo "the desktop entry, the AppStream data and the manual page validate"
icon=$prefix/$icondir/slot-machine.svg
[[ -s $icon ]] || fail "no icon in $icondir"
if command -v xmllint >/dev/null; then xmllint --noout "$icon" || fail "the icon is not well-formed SVG"; fi
# Beside the SVG, the PNGs the icon theme asks for, each of the size its folder names.
hicolor=$(dirname "$(dirname "$prefix/$icondir")")
icon_sizes=(16 24 32 48 64 128 256)
pngs=$(find "$hicolor" -name slot-machine.png | wc -l)
[[ $pngs -eq ${#icon_sizes[@]} ]] || fail "$pngs PNG icons under $hicolor, not ${#icon_sizes[@]}"
for size in "${icon_sizes[@]}"; do
    png=$hicolor/${size}x${size}/apps/slot-machine.png
    [[ -s $png ]] || fail "no icon ${size}x${size}/apps/slot-machine.png"
    header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')  # signature, IHDR's length and name, width, height
    [[ ${header:0:32} == 89504e470d0a1a0a0000000d49484452 ]] || fail "${size}x${size}/apps/slot-machine.png is no PNG"
    [[ $((16#${header:32:8})) -eq $size && $((16#${header:40:8})) -eq $size ]] ||
        fail "${size}x${size}/apps/slot-machine.png is $((16#${header:32:8})) x $((16#${header:40:8}))"
done
echo "the icon: an SVG and PNGs of ${icon_sizes[*]} pixels"

# In a sanitizer run Mesa's software driver is preloaded, as the end-to-end tests do
# (tests/e2e/e2elib.py): loaded for good, its leaks match the suppressions at exit.
game_env=()
if [[ -n ${ASAN_OPTIONS:-} ]]; then
    drivers=(/usr/lib/*/dri/swrast_dri.so)
    if [[ -f ${drivers[0]} ]]; then
        game_env=("LD_PRELOAD=${drivers[0]}${LD_PRELOAD:+:$LD_PRELOAD}"
                  "ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0")
    fi
fi

# The command starts the game from anywhere: started in /, it finds its pictures.
console=$scratch/console.txt
(cd / && exec env "${game_env[@]}" PATH="$prefix/$bindir:$PATH" slot-machine) >"$console" 2>&1 &
game_pid=$!
for ((i = 0; i < 300; i++)); do
    grep -qx perspective "$console" && break
    kill -0 "$game_pid" 2>/dev/null || { cat "$console"; fail "the installed game ended before drawing"; }
    sleep 0.1
done
grep -qx perspective "$console" || { cat "$console"; fail "no \"perspective\" line within 30 s"; }
loads=$(grep -c '^trying to load ' "$console" || true)
[[ $loads -eq 19 ]] || { cat "$console"; fail "$loads pictures loaded before the first frame, not 19"; }
kill -0 "$game_pid" 2>/dev/null || fail "the installed game did not keep running"
echo "the $kind install starts the game: 19 pictures loaded, perspective shown"

# A dock matches the window with the desktop entry by its class.
wm_class=$(grep -x 'StartupWMClass=.*' "$desktop" | cut -d= -f2-)
[[ -n $wm_class ]] || fail "the desktop entry has no StartupWMClass"
window=$(xdotool search --name '^Slot Machine$' | head -n 1)
[[ -n $window ]] || fail "no window titled Slot Machine"
shown=$(xprop -id "$window" WM_CLASS)
[[ $shown == "WM_CLASS(STRING) = \"$wm_class\", \"$wm_class\"" ]] ||
    fail "the window's class is '$shown', the desktop entry's StartupWMClass '$wm_class'"
echo "the window's class is the desktop entry's StartupWMClass, $wm_class"

# Quit with Q, not a signal: the game opens its sound device after the first frame, and
# a process killed meanwhile can leave a lock that the sound libraries share between
# processes (JACK's) taken for good, which stalls every later game on the machine.
xdotool mousemove --window "$window" 50 50 key q || fail "xdotool could not press Q"
for ((i = 0; i < 300; i++)); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "Q did not end the installed game within 30 s"
status=0
wait "$game_pid" || status=$?
game_pid=
[[ $status -eq 0 ]] || fail "Q ended the installed game with status $status"
echo "Q ends the installed game with status 0"
