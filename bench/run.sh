#!/usr/bin/env bash
# Builds the release build and runs every benchmark of the game (frames, pick passes,
# picture loading, animation steps, the first frame on screen) on its own Xvfb, then
# prints one table.
# Usage: bench/run.sh [extra Google Benchmark flags]
#   SLOT_BENCH_BUILD_DIR=DIR  use (configure and build) DIR instead of the release preset
#   SLOT_BENCH_REPETITIONS=N  repetitions of each benchmark, shuffled together (default 15;
#                             the median is shown)
#   SLOT_BENCH_STARTS=N       starts of each program and cache state (default 21)
#   LP_NUM_THREADS=N          llvmpipe's rasterizer threads (default 1)
# Exit status: 0 every target met, 3 a target missed (the table says which), 1 an error.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
log_dir=${TMPDIR:-/tmp}
build_log=$(mktemp "$log_dir/slot-bench-build.XXXXXX")

echo "building ..." >&2
if [[ -n ${SLOT_BENCH_BUILD_DIR:-} ]]; then
    build=$SLOT_BENCH_BUILD_DIR
    configure=(cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DSLOT_BUILD_BENCH=ON)
    compile=(cmake --build "$build" -j2 --target slot-machine slot-bench slot-bare-window slot-first-frame)
else
    build=$root/build/release
    configure=(cmake --preset release -DSLOT_BUILD_BENCH=ON)
    compile=(cmake --build --preset release -j2 --target slot-machine slot-bench slot-bare-window slot-first-frame)
fi
if ! "${configure[@]}" >"$build_log" 2>&1 || ! "${compile[@]}" >>"$build_log" 2>&1; then
    cat "$build_log" >&2
    echo "bench/run.sh: the build failed (is libbenchmark-dev installed?)" >&2
    exit 1
fi
rm -f "$build_log"
[[ -x $build/bench/slot-bench ]] || { echo "bench/run.sh: no slot-bench in $build/bench" >&2; exit 1; }

command -v Xvfb >/dev/null || { echo "bench/run.sh: needs Xvfb (apt-get install xvfb)" >&2; exit 1; }
# An X server of our own, so that every run sees the same empty screen and Mesa's
# llvmpipe whatever the desktop has. Two runs may pick the same free number at once:
# the display is ours only when the lock file names our server.
display=
xvfb_pid=
trap '[[ -z $xvfb_pid ]] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true' EXIT
for ((n = 120; n < 200; n++)); do
    [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]] || continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for ((i = 0; i < 100; i++)); do
        owner=$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null || true)
        if [[ $owner == "$xvfb_pid" && -e /tmp/.X11-unix/X$n ]]; then
            display=$n
            break
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    if [[ -z $display ]]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    else
        break
    fi
done
[[ -n $display ]] || { echo "bench/run.sh: no X display of our own could be started" >&2; exit 1; }
export DISPLAY=:$display
export LIBGL_ALWAYS_SOFTWARE=1
export LP_NUM_THREADS=${LP_NUM_THREADS:-1}

starts=${SLOT_BENCH_STARTS:-21}
echo "timing the first frame on screen ($starts starts of each, warm and cold) ..." >&2
figures=$("$root/bench/first_frame.sh" "$build" "$starts")
read -r game_warm bare_warm game_cold bare_cold <<<"$figures"

echo "running the benchmarks ..." >&2
"$build/bench/slot-bench" --first-frame-ms="$game_warm,$bare_warm,$game_cold,$bare_cold" \
    --benchmark_enable_random_interleaving=true \
    --benchmark_repetitions="${SLOT_BENCH_REPETITIONS:-15}" --benchmark_min_time=0.15 "$@"
