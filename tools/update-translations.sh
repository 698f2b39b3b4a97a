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
#   1. run this script;
#   2. look for the new entries: grep -n -B2 'type="unfinished"' resources/translations/*.ts
#   3. fill each one in both files: Traditional Chinese in tavrin_zh_TW.ts, and in
#      tavrin_en_US.ts the English text (usually the source text itself), removing the
#      type="unfinished" attribute;
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
folders=(app vdr charts import serial print driverkey)

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=("$root/resources/translations/tavrin_en_US.ts" "$root/resources/translations/tavrin_zh_TW.ts")
fi

cd "$root"
"$lupdate" -locations none -I "$root" "${folders[@]}" -ts "${targets[@]}"
