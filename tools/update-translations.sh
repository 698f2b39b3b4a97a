#!/usr/bin/env bash
# Brings the two translation catalogues up to date with the sources.
#
#   tools/update-translations.sh [OUT.ts ...]
#
# Runs lupdate over the program's source folders (C++ sources, headers and .ui forms) into
# resources/translations/tavrin_en_US.ts and tavrin_zh_TW.ts. Existing translations are kept.
# Entries whose text is no longer found in the code are kept too (lupdate marks them
# type="vanished"; the build still compiles them), so nothing translated is ever lost here.
# Line locations are not written, so the catalogues only change when texts change.
#
# After adding or changing a user-visible text (after merging a branch, for instance):
#   1. run this script; in tavrin_en_US.ts it fills every new entry with its source text
#      (the English text is the source text but for a few mended spellings);
#   2. look for the new entries: grep -n -B2 'type="unfinished"' resources/translations/*.ts
#   3. write the Traditional Chinese text of each one in tavrin_zh_TW.ts and remove its
#      type="unfinished" attribute; where the English text should differ from the source
#      text, correct it in tavrin_en_US.ts;
#   4. rebuild and run tst_translations, which fails while a text of the code lacks a
#      finished entry in either catalogue.
# The build compiles the .ts files with lrelease; lupdate is never run by the build.
#
# Given .ts paths, the script writes the extraction there instead of into the catalogues
# (the catalogue test uses this to list every text the code passes through translation).
# LUPDATE may name the lupdate program to use.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
lupdate=${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)}
folders=(gui core/platform core/vdr core/charts core/import core/serial core/print core/driverkey core/period)

english="$root/resources/translations/tavrin_en_US.ts"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=("$english" "$root/resources/translations/tavrin_zh_TW.ts")
fi

cd "$root"
"$lupdate" -locations none -I "$root" "${folders[@]}" -ts "${targets[@]}"

if [ $# -eq 0 ]; then
    # New English entries: the source text, finished.
    perl -0777 -pi -e 's{<source>((?:(?!</source>).)*)</source>(\s*)<translation type="unfinished"></translation>}{<source>$1</source>$2<translation>$1</translation>}gs' "$english"
fi
