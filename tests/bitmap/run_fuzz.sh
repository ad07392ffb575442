#!/bin/sh
# Runs the bitmap reader's fuzzer for a while on a scratch copy of the seed corpus, so
# that the inputs it finds never land in the source tree; crash inputs go to ARTIFACTS.
# Usage: run_fuzz.sh FUZZER SEED_DIR SECONDS ARTIFACT_DIR
set -eu
fuzzer=$1
seeds=$2
seconds=$3
artifacts=$4

work=$(mktemp -d "${TMPDIR:-/tmp}/fuzz-bitmap.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$work/corpus" "$artifacts"
cp "$seeds"/*.bmp "$work/corpus/"
# The fuzzer writes each input to a file of its own under TMPDIR.
TMPDIR=$work "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" "$work/corpus"
