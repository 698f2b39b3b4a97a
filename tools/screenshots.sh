#!/usr/bin/env bash
# Screenshots of the chart page with a cursor, at scale 1 and 7, in Chinese and in English, of the viewer running in a real
# (virtual) X display on the sample day, so that its look can be reviewed. Run by hand; it is
# no part of the tests.
#
#   tools/screenshots.sh [OUTDIR]        (default OUTDIR: screenshots/ in the build directory)
#
# Needs xvfb-run (with xauth), xdotool and ImageMagick's import. Uses the build directory of
# tools/configure.sh (TAVRIN_BUILD_DIR chooses another) and builds the viewer and the sample
# day there when they are missing. There is no window manager: the window sits at (0,0) with
# no title bar, so the clicks below are in window coordinates; CHART_TAB_X/Y and
# LANGUAGE_MENU_X/Y move them if the form changes.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" = "--inside-display" ]; then
    player=$2 day=$3 out=$4
    "$player" "$day" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    sleep "${LOAD_SECONDS:-6}" # the day is read and the charts are built
    xdotool mousemove "${CHART_TAB_X:-540}" "${CHART_TAB_Y:-47}" click 1
    sleep 2
    # A cursor (a click on the speed chart) at scale 1, then Ctrl+wheel around it to scale 7.
    cursor_x=${CURSOR_X:-790} cursor_y=${CURSOR_Y:-300}
    xdotool mousemove "$cursor_x" "$cursor_y" click 1
    sleep 1
    zoom() { # notches of Ctrl+wheel over the cursor: 4 zooms in, 5 out
        xdotool mousemove "$cursor_x" "$cursor_y" keydown ctrl
        for _ in 1 2 3 4 5 6; do xdotool click "$1"; sleep 0.5; done
        xdotool keyup ctrl
        sleep 2
    }
    /usr/bin/import -window root "$out/chart_zh_TW_scale1.png"
    zoom 4
    /usr/bin/import -window root "$out/chart_zh_TW_scale7.png"
    # "language" is the first menu; its first entry is English.
    xdotool mousemove "${LANGUAGE_MENU_X:-22}" "${LANGUAGE_MENU_Y:-10}" click 1
    sleep 1
    xdotool key Down Return
    sleep 2
    /usr/bin/import -window root "$out/chart_en_US_scale7.png"
    zoom 5
    /usr/bin/import -window root "$out/chart_en_US_scale1.png"
    exit 0
fi

for tool in xvfb-run xauth xdotool /usr/bin/import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool (apt-get install xvfb xauth xdotool imagemagick)" >&2; exit 1; }
done

build=${TAVRIN_BUILD_DIR:-$root/build}
player=$build/gui/app/tavrin-player
day=$build/sample/D20240131__.vdr
if [ ! -x "$player" ] || [ ! -f "$day" ]; then
    build=$("$root/tools/configure.sh")
    cmake --build "$build" --target tavrin-player sample-day -j2
fi
out=$(mkdir -p "${1:-$build/screenshots}" && cd "${1:-$build/screenshots}" && pwd)

env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside-display "$player" "$day" "$out"
for name in chart_zh_TW_scale1 chart_zh_TW_scale7 chart_en_US_scale7 chart_en_US_scale1; do
    echo "$out/$name.png"
done
