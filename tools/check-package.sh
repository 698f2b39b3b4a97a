#!/usr/bin/env bash
# Builds the Debian package and checks it the way a user meets it:
#   1. its contents and control fields (name, version, maintainer, dependencies);
#   2. the desktop entry, the file-type definition and the AppStream file with their tools;
#   3. installed with dpkg -i: the desktop knows the .vdr type, `tavrin-vdr check` finds the
#      sample day sound, and the viewer starts offscreen, opens the day and keeps running
#      until it is stopped;
#   4. removed with dpkg -r: every file and folder it brought is gone again.
#
#   tools/check-package.sh [BUILD_DIR]      (default: $TAVRIN_BUILD_DIR, else build/)
#
# The build directory must be configured (tools/configure.sh); it is built here as far as the
# package needs. Installing needs root (or sudo). A copy of the package that is installed
# already is only replaced when CI or TAVRIN_PACKAGE_REPLACE=1 is set.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-${TAVRIN_BUILD_DIR:-$root/build}}" && pwd)
package=tavrin-player
appid=org.tavrin.TavrinPlayer
mimetype=application/x-tavrin-vdr

fail() {
    echo "check-package: $*" >&2
    exit 1
}
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli update-mime-database xmllint; do
    command -v "$tool" >/dev/null 2>&1 || fail "missing $tool (tools/install-deps.sh installs it)"
done

scratch=$(mktemp -d)
installed=0
cleanup() {
    if [ "$installed" -eq 1 ]; then
        echo "check-package: removing the package after a failure" >&2
        $sudo dpkg -r "$package" >/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# ---------------------------------------------------------------- build
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
qt_major=$(sed -n 's/^TAVRIN_QT_MAJOR:STRING=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "$build is not a configured build directory"
cmake --build "$build" -j"$(nproc)" --target tavrin-player tavrin-vdr sample-day
rm -rf "$build/package"
(cd "$build" && cpack -G DEB -B "$build/package" >"$scratch/cpack.log" 2>&1) || {
    cat "$scratch/cpack.log" >&2
    fail "cpack failed"
}
debs=("$build"/package/"${package}_${version}"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single ${package}_${version}_*.deb in $build/package"
deb=${debs[0]}
echo "== package $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"

# ---------------------------------------------------------------- contents
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
echo "Depends: $depends"
echo "Recommends: $(field Recommends)"
for dep in p7zip-full "libqt${qt_major}widgets${qt_major}" "libqt${qt_major}charts${qt_major}" \
    "libqt${qt_major}serialport${qt_major}" "libqt${qt_major}printsupport${qt_major}" libc6; do
    grep -Eq "(^|, )${dep}( |,|$)" <<<"$depends" || fail "Depends lacks $dep"
done
grep -Eq "(^|, )fonts-wqy-microhei( |,|$)" <<<"$(field Recommends)" || fail "Recommends lacks fonts-wqy-microhei"

expected_files=(
    ./usr/bin/tavrin-player
    ./usr/bin/tavrin-vdr
    ./usr/share/applications/tavrin-player.desktop
    ./usr/share/icons/hicolor/scalable/apps/tavrin-player.svg
    ./usr/share/metainfo/$appid.metainfo.xml
    ./usr/share/mime/packages/tavrin-player.xml
)
for size in 16 24 32 48 64 128 256; do
    expected_files+=("./usr/share/icons/hicolor/${size}x${size}/apps/tavrin-player.png")
done
# dpkg-deb -c: permissions, owner, size, date, time, path.
dpkg-deb -c "$deb" >"$scratch/listing"
awk '$1 !~ /^d/ {print $6}' "$scratch/listing" | sort >"$scratch/files"
printf '%s\n' "${expected_files[@]}" | sort >"$scratch/expected"
diff -u "$scratch/expected" "$scratch/files" || fail "the package's files differ from the list above"
awk '$2 != "root/root" {print}' "$scratch/listing" | grep . && fail "files not owned by root"
for exe in ./usr/bin/tavrin-player ./usr/bin/tavrin-vdr; do
    grep -Eq "^-rwxr-xr-x .* ${exe}\$" "$scratch/listing" || fail "$exe is not mode 755"
done

# ---------------------------------------------------------------- desktop files
dpkg-deb -x "$deb" "$scratch/unpacked"
share=$scratch/unpacked/usr/share
desktop-file-validate "$share/applications/tavrin-player.desktop"
grep -qx "MimeType=$mimetype;" "$share/applications/tavrin-player.desktop" || fail "desktop entry lacks the MIME type"
grep -qx "Exec=tavrin-player %f" "$share/applications/tavrin-player.desktop" || fail "desktop entry: Exec"
xmllint --noout "$share/mime/packages/tavrin-player.xml" "$share/icons/hicolor/scalable/apps/tavrin-player.svg"
mime=$scratch/mime
mkdir -p "$mime/packages"
cp "$share/mime/packages/tavrin-player.xml" "$mime/packages/"
update-mime-database "$mime" 2>"$scratch/mime.log" || { cat "$scratch/mime.log" >&2; fail "update-mime-database"; }
grep -i "error\|warning" "$scratch/mime.log" && fail "update-mime-database complains"
grep -q "^50:$mimetype:\*\.vdr$" "$mime/globs2" || fail "no *.vdr glob for $mimetype"
[ -f "$mime/${mimetype}.xml" ] || fail "$mimetype not in the scratch MIME database"
appstreamcli validate --no-net "$share/metainfo/$appid.metainfo.xml"

# ---------------------------------------------------------------- install
# Only one check at a time may install the package on this machine.
exec 9>/tmp/tavrin-check-package.lock
flock 9
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    if [ "${CI:-}" != "true" ] && [ "${TAVRIN_PACKAGE_REPLACE:-}" != "1" ]; then
        fail "$package is installed already; remove it (dpkg -r $package) or set TAVRIN_PACKAGE_REPLACE=1"
    fi
    $sudo dpkg -r "$package" >/dev/null
fi
# The folders that do not exist yet must go again with the package.
new_dirs=()
while read -r dir; do
    dir=${dir#.}
    [ -n "$dir" ] && [ "$dir" != "/" ] && [ ! -e "$dir" ] && new_dirs+=("$dir")
done < <(awk '$1 ~ /^d/ {print $6}' "$scratch/listing" | sed 's|/$||')
echo "== dpkg -i"
installed=1
$sudo dpkg -i "$deb"
dpkg-query -W -f='${Status}\n' "$package" | grep -q "ok installed" || fail "not installed"
for f in "${expected_files[@]}"; do
    [ -f "${f#.}" ] || fail "${f#.} missing after install"
done
# The package managers' triggers have registered the file type and its program.
if command -v update-mime-database >/dev/null 2>&1; then
    grep -q ":$mimetype:\*\.vdr$" /usr/share/mime/globs2 || fail "the system's MIME database lacks *.vdr"
fi
if command -v update-desktop-database >/dev/null 2>&1; then
    grep -q "^$mimetype=.*tavrin-player.desktop" /usr/share/applications/mimeinfo.cache ||
        fail "the desktop database does not open $mimetype with tavrin-player.desktop"
fi

# ---------------------------------------------------------------- run the installed programs
# A folder and a name with blanks and Chinese, as a user's files may have.
days="$scratch/行車 紀錄"
mkdir -p "$days"
day="$days/D20240131__ 副本.vdr"
cp "$build/sample/D20240131__.vdr" "$day"
out=$(/usr/bin/tavrin-vdr check "$day") || fail "tavrin-vdr check: exit $?: $out"
[ "$out" = "$day: sound" ] || fail "tavrin-vdr check says: $out"
echo "$out"

home=$scratch/home
mkdir -p "$home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
log=$scratch/viewer.log
env QT_QPA_PLATFORM=offscreen HOME="$home" XDG_DATA_HOME="$home/.local/share" XDG_CONFIG_HOME="$home/.config" \
    XDG_RUNTIME_DIR="$scratch/runtime" LC_ALL=C.UTF-8 /usr/bin/tavrin-player "$day" >"$log" 2>&1 &
viewer=$!
# The block walk's debug lines show the day was read and found sound; a day that cannot be
# opened gives a message box and no such lines.
opened=0
for _ in $(seq 1 120); do
    kill -0 "$viewer" 2>/dev/null || break
    if grep -q "blockCnt : 5" "$log" && grep -Eq "checksum caculate-result: (0x[0-9a-f]+) file-checksum: \1$" "$log"; then
        opened=1
        break
    fi
    sleep 0.5
done
sleep 3 # the charts and tables are filled after the walk
if ! kill -0 "$viewer" 2>/dev/null; then
    wait "$viewer" && rc=0 || rc=$?
    cat "$log" >&2
    fail "the viewer ended by itself (exit $rc)"
fi
kill -TERM "$viewer"
wait "$viewer" && rc=0 || rc=$?
[ "$opened" -eq 1 ] || { cat "$log" >&2; fail "the viewer did not open the day"; }
[ "$rc" -eq 143 ] || { cat "$log" >&2; fail "the viewer ended with $rc on SIGTERM"; }
echo "viewer: opened the day, ran until stopped"

# ---------------------------------------------------------------- remove
echo "== dpkg -r"
$sudo dpkg -r "$package"
installed=0
if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "installed"; then
    fail "still listed by dpkg: $(dpkg-query -W -f='${Status}' "$package")"
fi
for f in "${expected_files[@]}"; do
    [ ! -e "${f#.}" ] || fail "${f#.} left behind"
done
for dir in "${new_dirs[@]}"; do
    [ ! -e "$dir" ] || fail "folder $dir left behind"
done
if [ -f /usr/share/mime/globs2 ] && grep -q ":$mimetype:" /usr/share/mime/globs2; then
    fail "$mimetype left in the system's MIME database"
fi
if [ -f /usr/share/applications/mimeinfo.cache ] && grep -q "tavrin-player.desktop" /usr/share/applications/mimeinfo.cache; then
    fail "tavrin-player.desktop left in the desktop database"
fi
[ ! -e "/usr/share/mime/${mimetype}.xml" ] || fail "/usr/share/mime/${mimetype}.xml left behind"
echo "== package checked: $(basename "$deb")"
