#!/usr/bin/env bash
# Builds the utility and opens it in Wine with the stand-in velmarid.exe beside it: on $DISPLAY when
# there is one, otherwise in a private Xvfb, where it saves a screenshot and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake --preset mingw-x86 >/dev/null
cmake --build --preset mingw-x86 --target ostrafen velmarid >/dev/null

build=$PWD/build/mingw-x86
source tests/wine/env.sh
# A prefix of its own, kept between runs, with the same virtual desktop and fonts as the tests'.
export WINEPREFIX=$build/wine/open
if [ ! -d "$WINEPREFIX" ]; then
    tests/wine/make-prefix.sh "$WINEPREFIX" >/dev/null
fi

if [ -n "${DISPLAY:-}" ]; then
    exec wine "$build/bin/ostrafen.exe"
fi

start_xvfb
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
wine "$build/bin/ostrafen.exe" &
mkdir -p "$build/screenshots"
shot=$build/screenshots/open.png
# The empty virtual desktop is one flat colour: wait until something else is on it, then let it paint.
for _ in $(seq 40); do
    import -window root "$shot"
    [ "$(convert "$shot" -format %k info:)" -gt 16 ] && break
    sleep 0.5
done
sleep 1
import -window root "$shot"
echo "no DISPLAY: the utility ran in Xvfb; screenshot: $shot"
