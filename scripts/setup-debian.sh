#!/usr/bin/env bash
# Installs what building and testing need on Debian 12: the MinGW-w64 cross compilers, 32-bit Wine,
# Xvfb, the fonts the dialogs are drawn with, GoogleTest's sources and CMake. Does nothing when all
# of it is there already.
set -euo pipefail

packages=(g++-mingw-w64-i686 wine wine32:i386 xvfb fonts-wqy-microhei fonts-wine googletest cmake make
          imagemagick)

sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
