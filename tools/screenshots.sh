#!/usr/bin/env bash
# Screenshots of the viewer running in a real (virtual) X display, in Chinese and in English,
# so that its look can be reviewed: the chart page of the sample day with a cursor and the
# shaded faults at scale 1 and 7, the map page of the sample day with the chart's cursor, and
# the "Period" page on a week of sample days. Run by hand; it is no part of the tests.
#
#   tools/screenshots.sh [OUTDIR]        (default OUTDIR: screenshots/ in the build directory)
#
# Needs xvfb-run (with xauth), xdotool and ImageMagick's import. Uses the build directory of
# tools/configure.sh (TAVRIN_BUILD_DIR chooses another) and builds the viewer and the sample
# day there when they are missing. There is no window manager: the window sits at (0,0) with
# no title bar, so the clicks below are in window coordinates; CHART_TAB_X/Y,
# LANGUAGE_MENU_X/Y and PERIOD_TAB_STEPS move them if the form changes. The map page lies
# beyond the screen's width in the tab bar: it is reached with MAP_TAB_STEPS turns of the wheel
# over the tab bar from the chart page (one page each); CURSOR_X/Y is the click on the speed
# chart that sets the cursor the map shows.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

if [ "${1:-}" = "--inside-display" ]; then
    page=$2 player=$3 day=$4 out=$5
    "$player" "$day" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    sleep "${LOAD_SECONDS:-6}" # the day is read and the charts are built
    xdotool mousemove "${CHART_TAB_X:-540}" "${CHART_TAB_Y:-47}" click 1
    sleep 2
    # A cursor (a click on the speed chart) at scale 1.
    cursor_x=${CURSOR_X:-790} cursor_y=${CURSOR_Y:-300}
    xdotool mousemove "$cursor_x" "$cursor_y" click 1
    sleep 1
    language() { # "Language" is the second menu, after "File"; its first entry is English.
        xdotool mousemove "${LANGUAGE_MENU_X:-64}" "${LANGUAGE_MENU_Y:-10}" click 1
        sleep 1
        xdotool key Down Return
        sleep 2
    }
    if [ "$page" = map ]; then
        xdotool mousemove "${CHART_TAB_X:-540}" "${CHART_TAB_Y:-47}" click --repeat "${MAP_TAB_STEPS:-5}" --delay 300 5
        sleep 2
        /usr/bin/import -window root "$out/map_zh_TW.png"
        language
        /usr/bin/import -window root "$out/map_en_US.png"
        exit 0
    fi
    zoom() { # six notches of Ctrl+wheel over the cursor: 4 zooms in, 5 out
        xdotool mousemove "$cursor_x" "$cursor_y" keydown ctrl
        for _ in 1 2 3 4 5 6; do xdotool click "$1"; sleep 0.5; done
        xdotool keyup ctrl
        sleep 2
    }
    /usr/bin/import -window root "$out/chart_zh_TW_scale1.png"
    zoom 4
    /usr/bin/import -window root "$out/chart_zh_TW_scale7.png"
    language
    /usr/bin/import -window root "$out/chart_en_US_scale7.png"
    zoom 5
    /usr/bin/import -window root "$out/chart_en_US_scale1.png"
    exit 0
fi

# The "Period" page over a folder of days, in both languages. The page is the last tab: the
# mouse wheel over a tab steps through the tabs (PERIOD_TAB_STEPS steps, enough to reach the
# last whatever the tabs' widths in either language).
if [ "${1:-}" = "--period-inside-display" ]; then
    player=$2 folder=$3 out=$4
    "$player" "$folder" &
    pid=$!
    trap 'kill "$pid" 2>/dev/null || true' EXIT
    xdotool search --sync --onlyvisible --pid "$pid" >/dev/null
    sleep "${LOAD_SECONDS:-6}"
    to_period_tab() {
        xdotool mousemove "${CHART_TAB_X:-540}" "${CHART_TAB_Y:-47}"
        xdotool click --repeat "${PERIOD_TAB_STEPS:-20}" --delay 50 5
        xdotool mousemove 640 780 # off the tabs
        sleep "${PERIOD_SECONDS:-8}" # the days are read and the page is filled
    }
    to_period_tab
    /usr/bin/import -window root "$out/period_zh_TW.png"
    xdotool mousemove "${LANGUAGE_MENU_X:-64}" "${LANGUAGE_MENU_Y:-10}" click 1
    sleep 1
    xdotool key Down Return
    sleep 2
    to_period_tab
    /usr/bin/import -window root "$out/period_en_US.png"
    exit 0
fi

for tool in xvfb-run xauth xdotool /usr/bin/import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "missing: $tool (apt-get install xvfb xauth xdotool imagemagick)" >&2; exit 1; }
done

build=${TAVRIN_BUILD_DIR:-$root/build}
player=$build/gui/app/tavrin-player
day=$build/sample/D20240131__.vdr
maker=$build/tools/encoder/tavrin-make-sample
if [ ! -x "$player" ] || [ ! -f "$day" ] || [ ! -x "$maker" ]; then
    build=$("$root/tools/configure.sh")
    cmake --build "$build" --target tavrin-player sample-day tavrin-make-sample -j2
fi
out=$(mkdir -p "${1:-$build/screenshots}" && cd "${1:-$build/screenshots}" && pwd)

for page in chart map; do
    env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside-display "$page" "$player" "$day" "$out"
done
for name in chart_zh_TW_scale1 chart_zh_TW_scale7 chart_en_US_scale7 chart_en_US_scale1 map_zh_TW map_en_US; do
    echo "$out/$name.png"
done

# A week of sample days with the Wednesday missing, a gap the page shows.
days=$(mktemp -d)
trap 'rm -rf "$days"' EXIT
"$maker" "$days" --start 2024-01-22 --days 7 >/dev/null
rm -f "$days/D20240124__.vdr"
env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x800x24" "$0" --period-inside-display "$player" "$days" "$out"
echo "$out/period_zh_TW.png"
echo "$out/period_en_US.png"
