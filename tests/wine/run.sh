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
dir=

cleanup() {
    if [ -n "$dir" ]; then
        WINEPREFIX="$dir/prefix" wineserver -k 2>/dev/null || true
        rm -rf "$dir"
    fi
    stop_xvfb
    dir=
}
trap cleanup EXIT

# No test takes more than a few seconds; one still running after this has hung.
limit=${OSTRAFEN_TEST_TIMEOUT:-50}

run_once() {
    dir=$(mktemp -d "$runs/run.XXXXXX")
    export WINEPREFIX="$dir/prefix"
    # Hard links keep the copy cheap; Wine replaces the registry files rather than writing them in
    # place, but copy those outright anyway so no test can reach the template through them.
    cp -al "$template" "$WINEPREFIX"
    for reg in "$WINEPREFIX"/*.reg; do
        cp --remove-destination "$template/$(basename "$reg")" "$reg"
    done
    start_xvfb || return 1
    timeout --kill-after=5 "$limit" wine "$@"
}

run_once "$@"
rc=$?
# Now and then Wine itself hangs while a process starts, or its loader dies of SIGSEGV as a process
# ends (seen after a test had printed PASSED). Neither says anything of the program, so the run is
# made once more from scratch. A test that fails, rather than hangs or takes Wine down, is never run
# again; a Windows program that crashes ends with an exception code, not a signal.
case $rc in
124 | 137) why="hung for ${limit}s" ;;
139) why="took Wine's loader down (SIGSEGV)" ;;
*) exit $rc ;;
esac
echo "run.sh: $(basename "$1") $why under Wine; running it once more in a fresh prefix" >&2
cleanup
run_once "$@"
exit $?
