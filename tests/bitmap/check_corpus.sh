#!/bin/sh
# Regenerates the seed corpus and the hostile pictures into a scratch folder and compares
# them with the committed ones: the committed files are the generator's, byte for byte.
# Usage: check_corpus.sh GENERATOR SEED_DIR HOSTILE_DIR
set -eu
work=$(mktemp -d "${TMPDIR:-/tmp}/bitmap-corpus.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/seeds" "$work/hostile"
"$1" "$work/seeds" "$work/hostile"
diff -r "$work/seeds" "$2"
diff -r "$work/hostile" "$3"
echo "seed corpus and hostile pictures match their generator"
