#!/usr/bin/env bash
# Times tavrin-vdr against a plain read of the same bytes, in the same run, pair by pair:
#   check over a folder of 31 full days    vs  cat of those 31 files > /dev/null
#   dump --json of the full sample day     vs  cat of that file > /dev/null
#   report over a folder of 366 full days  vs  cat of those 366 files > /dev/null
#
#   tests/bench/bench-cli.sh [BUILD_DIR] [RUNS]
#
# Uses hyperfine when it is installed, else a loop timed with date +%s.%N; prints medians and,
# per pair, the ratio of the tool's time to the plain read's.
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
"$maker" "$work/year" --start 2024-01-01 --days 366 >/dev/null
day=$(ls "$work/month"/*.vdr | head -n 1)

# Each pair: the plain read, then the tool. A report with findings exits 1, which is no failure.
pairs=(
    "cat $work/month/*.vdr > /dev/null" "$tool check $work/month > /dev/null"
    "cat $day > /dev/null" "$tool dump --json $day > /dev/null"
    "cat $work/year/*.vdr > /dev/null" "$tool report $work/year > /dev/null || test \$? -eq 1"
)

if command -v hyperfine >/dev/null; then
    for ((p = 0; p < ${#pairs[@]}; p += 2)); do
        hyperfine --warmup 2 --runs "$runs" --shell bash "${pairs[p]}" "${pairs[p + 1]}"
    done
    exit 0
fi

median() { sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
time_ms() {
    bash -c "$1" # warm the page cache
    for ((i = 0; i < runs; ++i)); do
        start=$(date +%s.%N)
        bash -c "$1"
        end=$(date +%s.%N)
        awk -v a="$start" -v b="$end" 'BEGIN { print (b - a) * 1000 }'
    done | median
}
for ((p = 0; p < ${#pairs[@]}; p += 2)); do
    plain=$(time_ms "${pairs[p]}")
    timed=$(time_ms "${pairs[p + 1]}")
    printf '%10.1f ms  %s\n' "$plain" "${pairs[p]//$work/TMP}"
    printf '%10.1f ms  %s\n' "$timed" "${pairs[p + 1]//$work/TMP}"
    awk -v a="$timed" -v b="$plain" 'BEGIN { printf "%10.2f x   the plain read\n\n", a / b }'
done
