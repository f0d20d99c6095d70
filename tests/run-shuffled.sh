#!/bin/sh
# Runs every test program once as a whole, its tests in a random order, so that a test that
# passes only because of what an earlier one left behind (a locale, a file, a setting) fails
# here. Each program prints its seed; rerun it with --gtest_random_seed=SEED to repeat.
# Usage: run-shuffled.sh BUILD_DIR [JOBS]
set -eu

if [ "${1:-}" = --one ]; then
    program=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
    name=$(basename "$program")
    # A folder of its own: the programs link com1..com4 in their working directory.
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    if (cd "$work" && timeout 900 "$program" --gtest_shuffle >log 2>&1); then
        echo "shuffled $name: passed, $(grep -o 'seed of [0-9]*' "$work/log")"
        exit 0
    fi
    echo "shuffled $name: FAILED" >&2
    grep -E 'seed of|FAILED|left the default' "$work/log" >&2 || tail -20 "$work/log" >&2
    exit 1
fi

build=$1
jobs=${2:-2}
export QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME=
ls "$build"/tests/*_tests | xargs -P "$jobs" -n 1 sh "$0" --one
