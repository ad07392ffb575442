#!/usr/bin/env bash
# Times the first frame on screen: from starting a program to the return of its first
# buffer swap, the game beside the bare freeglut window, with Mesa's shader cache warm
# and cold. The programs are timed from outside: libslot-first-frame.so, preloaded,
# notes the time of the first swap and ends the process.
# Usage: bench/first_frame.sh BUILD_DIR [ROUNDS]   (under the X display in DISPLAY)
# Each round starts the game and the bare window with a warm cache, then both with a
# cold one. Prints the medians in milliseconds on one line: game and bare window warm,
# game and bare window cold; the samples go to standard error.
set -euo pipefail

build=${1:?usage: first_frame.sh BUILD_DIR [ROUNDS]}
rounds=${2:-21}
build=$(cd "$build" && pwd)
stage=$build/stage
shim=$build/bench/libslot-first-frame.so
limit_seconds=30  # a start that shows nothing for this long has failed
for file in "$stage/slot-machine" "$build/bench/slot-bare-window" "$shim"; do
    [[ -e $file ]] || { echo "first_frame.sh: no $file" >&2; exit 1; }
done
[[ -n ${DISPLAY:-} ]] || { echo "first_frame.sh needs an X display (DISPLAY)" >&2; exit 1; }

# A shader cache of our own: the warm runs neither read nor fill the user's.
work=$(mktemp -d "${TMPDIR:-/tmp}/slot-first-frame.XXXXXX")
trap 'rm -rf "$work"' EXIT
stamp=$work/stamp
output=$work/output
mkdir -p "$work/cache/mesa"  # Mesa makes the last folder of the path only
unset MESA_SHADER_CACHE_DISABLE MESA_GLSL_CACHE_DISABLE MESA_SHADER_CACHE_DIR MESA_GLSL_CACHE_DIR
warm=(XDG_CACHE_HOME="$work/cache" MESA_SHADER_CACHE_DIR="$work/cache/mesa")
cold=(XDG_CACHE_HOME="$work/cache" MESA_SHADER_CACHE_DISABLE=true)

# Starts PROGRAM in DIR with the variables given and adds the microseconds from the
# start to its first swap to the array named by RESULT.
time_start() {
    local -n result=$1
    local dir=$2 program=$3
    shift 3
    rm -f "$stamp"
    sleep "$limit_seconds" &
    local watchdog=$! finished='' status=0
    local start=$EPOCHREALTIME
    # shellcheck disable=SC2163  # the arguments are NAME=VALUE pairs
    (cd "$dir" && export "$@" LD_PRELOAD="$shim" SLOT_FIRST_FRAME_FILE="$stamp" && exec "$program") \
        </dev/null >"$output" 2>&1 &
    local pid=$!
    wait -n -p finished "$pid" "$watchdog" || status=$?
    if [[ $finished != "$pid" ]]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        echo "first_frame.sh: $program showed no frame within $limit_seconds s" >&2
        exit 1
    fi
    kill "$watchdog" 2>/dev/null || true
    wait "$watchdog" 2>/dev/null || true
    local shown
    if ((status != 0)) || ! read -r shown <"$stamp" || [[ ! $shown =~ ^[0-9]+$ ]]; then
        echo "first_frame.sh: $program ended with status $status before its first swap:" >&2
        tail -n 5 "$output" >&2
        exit 1
    fi
    result+=($((10#$shown - 10#${start/[.,]/})))
}

# Prints the median of the microsecond samples given, in milliseconds.
median_ms() {
    local sorted
    mapfile -t sorted < <(printf '%s\n' "$@" | sort -n)
    local n=${#sorted[@]} median
    if ((n % 2)); then
        median=${sorted[n / 2]}
    else
        median=$(((sorted[n / 2 - 1] + sorted[n / 2]) / 2))
    fi
    printf '%d.%03d' $((median / 1000)) $((median % 1000))
}

# One start of each fills the cache the warm runs read.
filling=()
time_start filling "$stage" ./slot-machine "${warm[@]}"
time_start filling "$build/bench" ./slot-bare-window "${warm[@]}"
echo "first frame while filling the cache, game and bare window, microseconds: ${filling[*]}" >&2
if [[ -z $(find "$work/cache" -type f -print -quit 2>/dev/null) ]]; then
    echo "first_frame.sh: Mesa wrote no shader cache; the warm starts compile as the cold ones do" >&2
fi

game_warm=() bare_warm=() game_cold=() bare_cold=()
for ((i = 0; i < rounds; i++)); do
    time_start game_warm "$stage" ./slot-machine "${warm[@]}"
    time_start bare_warm "$build/bench" ./slot-bare-window "${warm[@]}"
    time_start game_cold "$stage" ./slot-machine "${cold[@]}"
    time_start bare_cold "$build/bench" ./slot-bare-window "${cold[@]}"
done

for name in game_warm bare_warm game_cold bare_cold; do
    declare -n samples=$name
    echo "first frame, $name, microseconds in start order: ${samples[*]}" >&2
done
echo "$(median_ms "${game_warm[@]}") $(median_ms "${bare_warm[@]}") $(median_ms "${game_cold[@]}")" \
    "$(median_ms "${bare_cold[@]}")"
