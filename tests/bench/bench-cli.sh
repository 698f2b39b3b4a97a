#!/usr/bin/env bash
# Times tavrin-vdr against a plain read of the same bytes, in the same run:
#   check over a folder of 31 full days   vs  cat of those 31 files > /dev/null
#   dump --json of the full sample day    vs  cat of that file > /dev/null
#
#   tests/bench/bench-cli.sh [BUILD_DIR] [RUNS]
#
# Uses hyperfine when it is installed, else a loop timed with date +%s.%N; prints medians.
set -euo pipefail
build=${1:-build}
runs=${2:-11}
tool=$build/cli/tavrin-vdr
maker=$build/tools/encoder/tavrin-make-sample
for exe in "$tool" "$maker"; do
    [[ -x $exe ]] || { echo "missing $exe (build first)" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$maker" "$work/month" --start 2024-01-01 --days 31 >/dev/null
day=$(ls "$work/month"/*.vdr | head -n 1)

commands=(
    "cat $work/month/*.vdr > /dev/null"
    "$tool check $work/month > /dev/null"
    "cat $day > /dev/null"
    "$tool dump --json $day > /dev/null"
)

if command -v hyperfine >/dev/null; then
    hyperfine --warmup 2 --runs "$runs" --shell bash "${commands[@]}"
    exit 0
fi

median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
for command in "${commands[@]}"; do
    bash -c "$command" # warm the page cache
    times=$(for ((i = 0; i < runs; ++i)); do
        start=$(date +%s.%N)
        bash -c "$command"
        end=$(date +%s.%N)
        awk -v a="$start" -v b="$end" 'BEGIN { print (b - a) * 1000 }'
    done | median)
    printf '%10.1f ms  %s\n' "$times" "${command//$work/TMP}"
done
