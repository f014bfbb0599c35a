#!/usr/bin/env bash
# Builds the Wine prefix that every test starts from: booted once per test run, with a virtual desktop
# as the default (so windows get captions and deterministic focus), CJK font links for the dialog
# fonts, and no crash dialog. Each test then runs in a private copy of it (see run.sh).
set -euo pipefail
template=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/env.sh"

rm -rf "$template" "$template.tmp"
mkdir -p "$(dirname "$template")"
export WINEPREFIX="$template.tmp"

start_xvfb
trap 'WINEPREFIX="$template.tmp" wineserver -k 2>/dev/null || true; stop_xvfb' EXIT

wineboot -i >/dev/null 2>&1
# Debian keeps Wine's own fonts (Marlett draws the caption buttons, Tahoma the dialog text) where
# this Wine does not look for them; the prefix's font folder is searched always.
cp /usr/share/wine/fonts/*.tt[fc] "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg import "$(winepath -w "$here/prefix.reg")" >/dev/null 2>&1
wineserver -w
mv "$template.tmp" "$template"
echo "wine prefix ready: $template"
