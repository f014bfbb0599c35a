#!/usr/bin/env bash
# Runs one Windows test executable under Wine, the way ctest runs every test here: in a private copy
# of the booted template prefix and on a private Xvfb display, both made and ended by this script.
#   run.sh TEMPLATE_PREFIX RUNS_DIR EXE [ARGS...]
set -uo pipefail
template=$1 runs=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/env.sh"

[ -d "$template" ] || { echo "no Wine prefix at $template (run the wine_prefix test first)" >&2; exit 1; }
mkdir -p "$runs"
dir=$(mktemp -d "$runs/run.XXXXXX")
export WINEPREFIX="$dir/prefix"

cleanup() {
    wineserver -k 2>/dev/null || true
    stop_xvfb
    rm -rf "$dir"
}
trap cleanup EXIT

# Hard links keep the copy cheap; Wine replaces the registry files rather than writing them in
# place, but copy those outright anyway so no test can reach the template through them.
cp -al "$template" "$WINEPREFIX"
for reg in "$WINEPREFIX"/*.reg; do
    cp --remove-destination "$template/$(basename "$reg")" "$reg"
done

start_xvfb || exit 1
# Give up before ctest's own time-out would kill this script, so the clean-up above still runs.
timeout --kill-after=5 "${OSTRAFEN_TEST_TIMEOUT:-110}" wine "$@"
exit $?
