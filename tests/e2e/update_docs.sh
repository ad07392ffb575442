#!/usr/bin/env bash
# Copies the screenshots that the end-to-end session test wrote into a build folder
# (default build/release) to docs/, where the README shows them.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/release}
shots=$build/tests/e2e/docs
for name in machine.png prize.png tokens.png; do
  if [[ ! -s $shots/$name ]]; then
    echo "no $shots/$name: run the e2e tests of that build first (./test.sh, or ctest --test-dir $build -L e2e)" >&2
    exit 1
  fi
done
mkdir -p "$root/docs"
cp "$shots"/machine.png "$shots"/prize.png "$shots"/tokens.png "$root/docs/"
echo "copied machine.png, prize.png and tokens.png from $shots to $root/docs"
