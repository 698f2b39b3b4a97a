#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang in their own build directory and runs each for
# the given number of seconds, starting from seed corpora written by the project's encoder.
#
#   tools/fuzz.sh [seconds per harness, default 60] [harness ...]
#
# Harnesses: fuzz_dayfile (the day-file path), fuzz_serial (the serial path),
# fuzz_tarlisting (the archiver's listing of a tar archive, read before unpacking),
# fuzz_rules (the rules file of the period report, with the checks run under it). The build
# directory is $TAVRIN_FUZZ_BUILD_DIR (default: build-fuzz/ in the repository); the corpus
# each run grows is kept there, and a finding is saved under fuzz-findings/<harness>/.
# Prints the executions and findings of each harness; exits non-zero on any finding.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
shift || true
harnesses=("$@")
if [ ${#harnesses[@]} -eq 0 ]; then
    harnesses=(fuzz_dayfile fuzz_serial fuzz_tarlisting fuzz_rules)
fi
jobs=${TAVRIN_FUZZ_BUILD_JOBS:-$(nproc)}

args=(-S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
      -DCMAKE_CXX_COMPILER=clang++ -DTAVRIN_FUZZ=ON -DBUILD_TESTING=OFF)
if command -v ccache >/dev/null 2>&1; then
    args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake "${args[@]}" >/dev/null
cmake --build "$build" -j"$jobs" --target tavrin-fuzz-seeds "${harnesses[@]}"

rm -rf "$build/fuzz-seeds"
"$build/tests/fuzz/tavrin-fuzz-seeds" "$build/fuzz-seeds"

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:print_stacktrace=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen

status=0
summary=()
for h in "${harnesses[@]}"; do
    case "$h" in
        fuzz_dayfile) seeds=$build/fuzz-seeds/dayfile ;;
        fuzz_serial) seeds=$build/fuzz-seeds/serial ;;
        fuzz_tarlisting) seeds=$build/fuzz-seeds/tarlisting ;;
        fuzz_rules) seeds=$build/fuzz-seeds/rules ;;
        *) echo "unknown harness: $h" >&2; exit 2 ;;
    esac
    corpus=$build/fuzz-corpus/$h
    findings=$build/fuzz-findings/$h
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings"
    log=$build/fuzz-$h.log
    echo "== $h: ${seconds} s"
    set +e
    "$build/tests/fuzz/$h" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1
    rc=$?
    set -e
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    time=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    found=$(find "$findings" -type f | wc -l)
    if [ "$rc" -ne 0 ]; then
        status=1
        tail -n 60 "$log"
    fi
    summary+=("$h: ${execs:-?} executions in ${seconds} s (${time:-?}/s), corpus $(ls "$corpus" | wc -l), findings $found, exit $rc")
done
echo "== summary"
printf '%s\n' "${summary[@]}"
exit $status
