#!/usr/bin/env bash
# Remakes the README's pictures in docs/ from the real build, in a private Wine prefix and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86 --target shoot >/dev/null
build=$PWD/build/mingw-x86
[ -d "$build/wine/template" ] || tests/wine/make-prefix.sh "$build/wine/template"

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
tests/wine/run.sh "$build/wine/template" "$build/wine/runs" "$build/tests/shoot.exe" "Z:${shots//\//\\}"
mkdir -p docs
for name in ostrafen ostrafen-help about; do
    convert "$shots/$name.bmp" "docs/$name.png"
    echo "docs/$name.png"
done
