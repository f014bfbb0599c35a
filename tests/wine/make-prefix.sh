#!/usr/bin/env bash
# Builds the Wine prefix that every test starts from, with a virtual desktop as the default (so
# windows get captions and deterministic focus), CJK font links for the dialog fonts, and no crash
# dialog. Each test then runs in a private copy of it (see run.sh).
set -euo pipefail
template=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/env.sh"

# A template made by this very script and settings for this Wine is reused: booting is the slow part.
stamp=$( (cat "$0" "$here/prefix.reg" "$here/env.sh"; wine --version) | sha256sum | cut -c1-16)
if [ -f "$template/.stamp" ] && [ "$(cat "$template/.stamp")" = "$stamp" ]; then
    echo "wine prefix up to date: $template"
    exit 0
fi

mkdir -p "$(dirname "$template")"
rm -rf "$template.tmp"
export WINEPREFIX="$template.tmp"

start_xvfb
trap 'WINEPREFIX="$template.tmp" wineserver -k 2>/dev/null || true; stop_xvfb' EXIT

wineboot -i >/dev/null 2>&1
# Debian keeps Wine's own fonts (Marlett draws the caption buttons, Tahoma the dialog text) where
# this Wine does not look for them; the prefix's font folder is searched always.
cp /usr/share/wine/fonts/*.tt[fc] "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg import "$(winepath -w "$here/prefix.reg")" >/dev/null 2>&1
wineserver -w
echo "$stamp" >"$WINEPREFIX/.stamp"
# Swap the new template in whole, so no test ever copies a half-made one.
rm -rf "$template.old"
[ -d "$template" ] && mv "$template" "$template.old"
mv "$template.tmp" "$template"
rm -rf "$template.old"
echo "wine prefix ready: $template"
