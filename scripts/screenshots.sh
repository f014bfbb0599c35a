#!/usr/bin/env bash
# Remakes the README's pictures in docs/ from the real build, in a private Wine prefix and Xvfb:
# tests/screenshots/shoot.exe sets each scene, this script takes it from the X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86 --target shoot >/dev/null
build=$PWD/build/mingw-x86
tests/wine/make-prefix.sh "$build/wine/template" >/dev/null

source tests/wine/env.sh
work=$(mktemp -d "$build/wine/shots.XXXXXX")
export WINEPREFIX=$work/prefix
cp -al "$build/wine/template" "$WINEPREFIX"
for reg in "$WINEPREFIX"/*.reg; do cp --remove-destination "$build/wine/template/$(basename "$reg")" "$reg"; done
start_xvfb
trap 'wineserver -k 2>/dev/null || true; stop_xvfb; rm -rf "$work"' EXIT

mkdir -p "$work/markers" docs
wine "$build/tests/shoot.exe" "Z:${work//\//\\}\\markers" &
shooter=$!
for name in ostrafen ostrafen-help about; do
    while [ ! -e "$work/markers/$name.ready" ]; do
        kill -0 "$shooter" 2>/dev/null || { echo "shoot.exe ended before the scene '$name'" >&2; exit 1; }
        sleep 0.1
    done
    # The desktop is one flat colour: trim it away, keeping a margin of it round the windows.
    import -window root "$work/$name.png"
    convert "$work/$name.png" -trim +repage -bordercolor "$(convert "$work/$name.png" -format '%[pixel:p{0,767}]' info:)" \
        -border 16 "docs/$name.png"
    touch "$work/markers/$name.taken"
    echo "docs/$name.png"
done
wait "$shooter"
