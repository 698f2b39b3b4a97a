#!/usr/bin/env bash
# Builds the viewer and opens it on the bundled sample day.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$("$root/tools/configure.sh")
cmake --build "$build" --target tavrin-player sample-day -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: run this from a desktop session (or set DISPLAY)." >&2
    exit 1
fi
exec "$build/gui/app/tavrin-player" "$build/sample/D20240131__.vdr"
