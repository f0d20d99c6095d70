#!/bin/bash
# Runs each fuzzer over its seed corpus and then for a few seconds more; all fuzzers run at
# once, one per core. Fails when any of them finds a crash, a leak, a sanitizer report or a
# slow input. New inputs are written below the work folder, never into the seed corpus.
#
#   run_regression.sh [--seconds N] [--work DIR] FUZZER CORPUS [FUZZER CORPUS ...]
set -u

seconds=20
work=fuzz-regression
while [[ $# -gt 0 && $1 == --* ]]; do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --work) work=$2; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done
if [[ $# -eq 0 || $(($# % 2)) -ne 0 ]]; then
    echo "usage: $0 [--seconds N] [--work DIR] FUZZER CORPUS [FUZZER CORPUS ...]" >&2
    exit 2
fi

# One fuzzer: its log, its new inputs and any crash input go to $work/<name>/.
run_one() {
    local fuzzer=$1 corpus=$2 dir=$work/$(basename "$1")
    rm -rf "$dir" && mkdir -p "$dir/new"
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$dir/" "$dir/new" "$corpus" >"$dir/log" 2>&1
}

declare -A pids
while [[ $# -gt 0 ]]; do
    run_one "$1" "$2" &
    pids[$1]=$!
    shift 2
done

failed=0
for fuzzer in "${!pids[@]}"; do
    name=$(basename "$fuzzer")
    log=$work/$name/log
    if wait "${pids[$fuzzer]}"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$name: passed, ${runs:-?} executions in ${seconds}s after its seeds"
    else
        failed=1
        echo "$name: FAILED (inputs and log in $work/$name)"
        tail -n 40 "$log"
    fi
done
exit $failed
