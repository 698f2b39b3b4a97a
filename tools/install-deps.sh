#!/usr/bin/env bash
# Installs every Debian package that building, testing and the tools need. Safe to run
# again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ ccache pkg-config
    qtbase5-dev libqt5charts5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools
    qt6-base-dev qt6-charts-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
    libqt6opengl6-dev libgl-dev qt6-qpa-plugins
    qttranslations5-l10n qt6-translations-l10n
    fonts-wqy-microhei
    p7zip-full
    gpsbabel
    clang libclang-rt-14-dev
    xvfb xauth
    dpkg-dev desktop-file-utils appstream shared-mime-info libxml2-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
