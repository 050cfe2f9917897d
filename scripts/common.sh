# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared by scripts/run, scripts/test and scripts/package: installs what is missing,
# configures and builds.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

build_packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-multimedia-dev
    qt6-svg-dev libfluidsynth-dev timgm6mb-soundfont libsndfile1-dev fonts-liberation
    qt6-qpa-plugins libacl1-dev libpulse-dev libsqlite3-dev libfontconfig-dev)
# What CPack needs to make the .deb (dpkg-shlibdeps finds its library dependencies).
package_packages=(dpkg-dev file)
test_packages=(xvfb xauth xdotool imagemagick pulseaudio pulseaudio-utils libsndfile1-dev
    fluidsynth libbenchmark-dev hyperfine jq "${package_packages[@]}" desktop-file-utils appstream
    lintian fakeroot openbox x11-utils clang libclang-rt-14-dev bindfs sqlite3 qt6ct)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
    fi
}

# The resource compiler stamps every file it packs with a time; the last commit's makes two
# builds of one commit alike.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH="$(git -C "$repo" log -1 --format=%ct 2>/dev/null || echo 0)"
    export SOURCE_DATE_EPOCH
fi

build_preset() {
    cmake --preset "$1" -S "$repo" >/dev/null
    cmake --build --preset "$1" "${@:2}"
}
