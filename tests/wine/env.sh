# Shared by the Wine test scripts: the environment a test's Wine runs in, and a private Xvfb display.
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and installing them would prompt.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Chinese UI texts; the zh_CN locale is not installed, so keep file names UTF-8 through LC_CTYPE.
export LANG=zh_CN.UTF-8
export LC_CTYPE=C.UTF-8
unset WINEARCH WINELOADER WINESERVER

xvfb_pid=
start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(tr -d '\n' <"$fdfile")"
    rm -f "$fdfile"
    [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; return 1; }
}

stop_xvfb() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
        xvfb_pid=
    fi
}
