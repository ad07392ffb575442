#!/usr/bin/env bash
# Builds the release build and runs every benchmark of the game (frames, pick passes,
# picture loading, animation steps, start-up) on its own Xvfb, then prints one table.
# Usage: bench/run.sh [extra Google Benchmark flags]
#   SLOT_BENCH_BUILD_DIR=DIR  use (configure and build) DIR instead of the release preset
#   SLOT_BENCH_REPETITIONS=N  repetitions of each benchmark (default 3; the median is shown)
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
    compile=(cmake --build "$build" -j2 --target slot-machine slot-bench slot-bare-window)
else
    build=$root/build/release
    configure=(cmake --preset release -DSLOT_BUILD_BENCH=ON)
    compile=(cmake --build --preset release -j2 --target slot-machine slot-bench slot-bare-window)
fi
if ! "${configure[@]}" >"$build_log" 2>&1 || ! "${compile[@]}" >>"$build_log" 2>&1; then
    cat "$build_log" >&2
    echo "bench/run.sh: the build failed (is libbenchmark-dev installed?)" >&2
    exit 1
fi
rm -f "$build_log"
stage=$build/stage
[[ -x $build/bench/slot-bench ]] || { echo "bench/run.sh: no slot-bench in $build/bench" >&2; exit 1; }

command -v Xvfb >/dev/null || { echo "bench/run.sh: needs Xvfb (apt-get install xvfb)" >&2; exit 1; }
# An X server of our own, so that every run sees the same empty screen and Mesa's
# llvmpipe whatever the desktop has.
display=
for ((n = 120; n < 200; n++)); do
    if [[ ! -e /tmp/.X11-unix/X$n && ! -e /tmp/.X$n-lock ]]; then
        display=$n
        break
    fi
done
[[ -n $display ]] || { echo "bench/run.sh: no free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
for ((i = 0; i < 100; i++)); do
    [[ -e /tmp/.X11-unix/X$display ]] && break
    sleep 0.05
done
[[ -e /tmp/.X11-unix/X$display ]] || { echo "bench/run.sh: Xvfb :$display did not start" >&2; exit 1; }
export DISPLAY=:$display
export LIBGL_ALWAYS_SOFTWARE=1

echo "timing start-up (20 starts each) ..." >&2
startup=$("$root/bench/startup.sh" "$stage" ./slot-machine 20)
bare=$("$root/bench/startup.sh" "$build/bench" ./slot-bare-window 20)

echo "running the benchmarks ..." >&2
"$build/bench/slot-bench" --startup-ms="$startup" --bare-startup-ms="$bare" \
    --benchmark_repetitions="${SLOT_BENCH_REPETITIONS:-3}" --benchmark_min_time=0.5 "$@"
