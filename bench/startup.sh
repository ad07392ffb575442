#!/usr/bin/env bash
# Times the game from process start to its "perspective" line (the first reshape,
# after the nineteen pictures are loaded), under the X display in DISPLAY.
# Usage: bench/startup.sh STAGE_DIR [PROGRAM [RUNS]]   (PROGRAM defaults to the game,
# ./slot-machine; it is started in STAGE_DIR.) Prints the median in milliseconds.
set -euo pipefail

stage=${1:?usage: startup.sh STAGE_DIR [PROGRAM [RUNS]]}
program=${2:-./slot-machine}
runs=${3:-20}
cd "$stage"
[[ -x $program ]] || { echo "cannot run $program in $stage" >&2; exit 2; }
[[ -n ${DISPLAY:-} ]] || { echo "startup.sh needs an X display (DISPLAY)" >&2; exit 2; }

samples=()
for ((i = 0; i < runs; i++)); do
    start=$EPOCHREALTIME
    coproc GAME { exec "$program"; }
    pid=$GAME_PID
    seen=
    while IFS= read -r -t 10 line <&"${GAME[0]}"; do
        if [[ $line == perspective ]]; then
            seen=$EPOCHREALTIME
            break
        fi
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [[ -n $seen ]] || { echo "run $i: no \"perspective\" line within 10 s" >&2; exit 1; }
    # Microseconds from the two clock readings, without forking a calculator.
    s=${start/[.,]/}
    e=${seen/[.,]/}
    samples+=($((10#$e - 10#$s)))
done

sorted=($(printf '%s\n' "${samples[@]}" | sort -n))
n=${#sorted[@]}
if ((n % 2)); then
    median=${sorted[n / 2]}
else
    median=$(((sorted[n / 2 - 1] + sorted[n / 2]) / 2))
fi
printf '%d.%03d\n' $((median / 1000)) $((median % 1000))
echo "start-up of $program, microseconds: ${sorted[*]}" >&2
