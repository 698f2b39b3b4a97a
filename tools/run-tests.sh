#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
#
#   tools/run-tests.sh          on Qt 5.15, in build/
#   tools/run-tests.sh --qt6    on Qt 6, in build-qt6/ (or TAVRIN_QT_MAJOR=6 tools/run-tests.sh)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
case "${1:-}" in
    --qt6) export TAVRIN_QT_MAJOR=6 ;;
    --qt5) export TAVRIN_QT_MAJOR=5 ;;
    "") ;;
    *) echo "usage: $0 [--qt5|--qt6]" >&2; exit 2 ;;
esac
build=$("$root/tools/configure.sh")
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
