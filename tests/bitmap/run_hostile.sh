#!/bin/sh
# Starts the real game once for every hostile picture of the manifest, the picture put in
# as slotbackground.bmp (the first one loaded) in a scratch copy of the staged pictures,
# and checks the console line after "trying to load slotbackground.bmp" and the exit
# status. The copy has no slot.bmp, so a picture the game accepts ends the run at slot 2.
# Needs DISPLAY: the window opens before the pictures load.
# Usage: run_hostile.sh GAME STAGE_DIR DATA_DIR
set -u
game=$1
stage=$2
data=$3

if [ ! -f "$stage/slotbackground.bmp" ]; then
    echo "no pictures in $stage: build the pictures target first" >&2
    exit 1
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/hostile-pictures.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

# In the sanitizer build the game exits while Mesa's driver is unloaded, so its leaks are
# reported from an unknown module; whole stacks reach libGLX and freeglut, which the
# suppressions name. (Nothing is changed for the release build.)
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"
fi

tab=$(printf '\t')
count=0
failures=0
while IFS=$tab read -r file expected status; do
    case $file in '' | '#'*) continue ;; esac
    count=$((count + 1))
    run=$work/run
    rm -rf "$run"
    mkdir "$run"
    cp "$stage"/*.bmp "$run/"
    rm -f "$run/slot.bmp"
    cp "$data/$file" "$run/slotbackground.bmp"
    out=$(cd "$run" && timeout 30 "$game" </dev/null 2>"$work/stderr")
    rc=$?
    first=$(printf '%s\n' "$out" | sed -n 1p)
    second=$(printf '%s\n' "$out" | sed -n 2p)
    if [ "$first" != "trying to load slotbackground.bmp" ] || [ "$second" != "$expected" ] || [ "$rc" != "$status" ]; then
        failures=$((failures + 1))
        echo "FAIL $file: status $rc (want $status)"
        echo "  want: $expected"
        printf '%s\n' "$out" | sed -n '1,3s/^/  got:  /p'
        sed 's/^/  stderr: /' "$work/stderr" | head -n 5
    fi
done <"$data/hostile.tsv"

echo "$count hostile pictures, $failures failed"
[ "$count" -gt 0 ] && [ "$failures" -eq 0 ]
