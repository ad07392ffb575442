#!/usr/bin/env bash
# Builds the Debian package twice, from two clones of one commit in folders of different
# names and depths, one after the other (so at different times), with different time
# zones and locales, and compares what the two builds made: the binary packages and the
# source package byte for byte, and, where they differ, the files inside them. The
# .buildinfo and .changes files record when and where each build ran, so they differ;
# their other fields are compared.
# Usage: packaging/check_reproducible.sh [COMMIT]   (HEAD when none is given; the
# working tree's changes that are not committed are not built)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/slot-reproducible.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

dirs=("$scratch/first/slot-machine" "$scratch/second/build/a/much/deeper/folder/slot-machine")
zones=(UTC Etc/GMT-14)
locales=(C.UTF-8 C)

for i in 0 1; do
    dir=${dirs[i]}
    git clone --quiet --no-checkout "$root" "$dir"
    git -C "$dir" checkout --quiet "$commit"
    echo "build $((i + 1)) in $dir (TZ=${zones[i]}, LC_ALL=${locales[i]})"
    started=$SECONDS
    if ! (cd "$dir" && TZ=${zones[i]} LC_ALL=${locales[i]} DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=2} \
        dpkg-buildpackage -us -uc) >"$scratch/build-$i.log" 2>&1; then
        tail -n 40 "$scratch/build-$i.log"
        echo "check_reproducible: build $((i + 1)) failed" >&2
        exit 1
    fi
    echo "  built in $((SECONDS - started)) s"
done

first=$(dirname "${dirs[0]}")
second=$(dirname "${dirs[1]}")
different=0
for made in "$first"/*.deb "$first"/*.dsc "$first"/*.tar.*; do
    name=$(basename "$made")
    other=$second/$name
    if [[ ! -f $other ]]; then
        echo "DIFFERENT $name: only the first build made it"
        different=1
    elif cmp -s "$made" "$other"; then
        echo "identical $name $(sha256sum <"$made" | cut -c1-16)"
    else
        echo "DIFFERENT $name"
        different=1
        if [[ $name == *.deb ]]; then
            mkdir -p "$scratch/x1/$name" "$scratch/x2/$name"
            dpkg-deb -R "$made" "$scratch/x1/$name"
            dpkg-deb -R "$other" "$scratch/x2/$name"
            diff -r "$scratch/x1/$name" "$scratch/x2/$name" | sed 's/^/    /' || true
        fi
    fi
done
for name in "$second"/*; do
    [[ -e $first/$(basename "$name") ]] || { echo "DIFFERENT $(basename "$name"): only the second build made it"; different=1; }
done
# What the builds record of themselves may differ, nothing else: when and where each
# ran, the locale it ran in, and so the .buildinfo's checksums in the .changes.
recorded='^ *[0-9a-f]{32,} .*\.buildinfo$|^Build-(Date|Path):|^ (LC_ALL|TZ)='
for made in "$first"/*.buildinfo "$first"/*.changes; do
    name=$(basename "$made")
    if diff <(grep -vE "$recorded" "$made") <(grep -vE "$recorded" "$second/$name") >"$scratch/diff.txt"; then
        echo "identical $name but for the build's date, path and locale"
    else
        echo "DIFFERENT $name:"
        sed 's/^/    /' "$scratch/diff.txt"
        different=1
    fi
done

if ((different)); then
    echo "check_reproducible: the two builds differ"
    exit 1
fi
echo "check_reproducible: the two builds of $commit made the same files"
