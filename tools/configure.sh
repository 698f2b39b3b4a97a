#!/usr/bin/env bash
# Configures the build directory after making sure the packages are installed. Prints the
# build directory.
#
# TAVRIN_QT_MAJOR=6 builds on Qt 6 (default 5: Qt 5.15); its default build directory is
# build-qt6/ in the repository, that of Qt 5 build/. TAVRIN_BUILD_DIR chooses another.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
qt=${TAVRIN_QT_MAJOR:-5}
case "$qt" in
    5) default_build=$root/build ;;
    6) default_build=$root/build-qt6 ;;
    *) echo "TAVRIN_QT_MAJOR must be 5 or 6, not '$qt'" >&2; exit 2 ;;
esac
build=${TAVRIN_BUILD_DIR:-$default_build}

"$root/tools/install-deps.sh" >&2

args=(-S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${TAVRIN_BUILD_TYPE:-RelWithDebInfo}
      -DTAVRIN_QT_MAJOR="$qt")
if command -v ccache >/dev/null 2>&1; then
    args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake "${args[@]}" "$@" >&2
echo "$build"
