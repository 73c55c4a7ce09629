#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# only those that are missing. apt-get as root, through sudo otherwise.
# --wine adds what the Wine stage needs: Wine with its 32-bit part (the i386
# architecture is enabled for it), the MinGW cross compilers for the Win32
# test client and the 32-bit toolchain for the preload library.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy shellcheck
    qt6-base-dev libjpeg62-turbo-dev libsndfile1-dev libpulse-dev
    libtelnet-dev libgtest-dev libgmock-dev libbenchmark-dev
    # the real RFC 2217 and raw TCP client of the network port's tests
    python3-serial
    xvfb xauth xdotool x11-utils imagemagick socat iproute2 fonts-dejavu-core
    # the look under a desktop's theme: GTK's platform theme and Adwaita-dark
    qt6-gtk-platformtheme gnome-themes-extra
    # the icon's PNGs, the Debian package and the tools that check it
    librsvg2-bin dpkg-dev lintian desktop-file-utils appstream man-db
)
wine=0
if [ "${1:-}" = --wine ]; then
    wine=1
    packages+=(wine wine64 wine32:i386 gcc-mingw-w64-i686 gcc-mingw-w64-x86-64 gcc-multilib)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi
if [ "$wine" = 1 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
