#!/usr/bin/env bash
# Configures the build directory (default: build/ in the repository) after making sure the
# packages are installed. Prints the build directory.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TAVRIN_BUILD_DIR:-$root/build}

"$root/tools/install-deps.sh" >&2

args=(-S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${TAVRIN_BUILD_TYPE:-RelWithDebInfo})
if command -v ccache >/dev/null 2>&1; then
    args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake "${args[@]}" "$@" >&2
echo "$build"
