#!/usr/bin/env bash
# A private Wine prefix and a private X display for one build folder's tests.
#   wine-env.sh start DIR ARCH     create DIR/prefix (ARCH win32 or win64) and start Xvfb
#   wine-env.sh stop DIR           end every Wine process of the prefix, stop Xvfb, remove the prefix
#   wine-env.sh run DIR EXE ARGS   run a Windows program there; exit code passed through, 77 when the
#                                  program's architecture cannot run on this machine
#   wine-env.sh exec DIR CMD ARGS  run a Linux command with the same environment (DISPLAY, WINEPREFIX)
set -u
cmd=${1:?command}
dir=${2:?folder}
shift 2
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"

use_environment() {
    export WINEPREFIX="$dir/prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -s "$dir/display" ]; then
        DISPLAY=":$(head -n 1 "$dir/display")"
        export DISPLAY
    fi
    if can_run_32bit; then
        wine=/usr/bin/wine
    else
        wine=/usr/lib/wine/wine64
        export WINELOADER=$wine
    fi
    export WINE="$wine"
}

stop_all() {
    use_environment
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1
        wineserver -w >/dev/null 2>&1
    fi
    if [ -s "$dir/xvfb.pid" ]; then
        kill "$(cat "$dir/xvfb.pid")" >/dev/null 2>&1
        rm -f "$dir/xvfb.pid"
    fi
    rm -f "$dir/display"
    rm -rf "$WINEPREFIX"
}

start_display() {
    rm -f "$dir/display"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    for _ in $(seq 100); do
        [ -s "$dir/display" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start; see $dir/xvfb.log" >&2
    return 1
}

start_prefix() {
    local arch=$1
    if [ "$arch" = win32 ] && ! can_run_32bit; then
        echo "This machine cannot run 32-bit programs; 32-bit Windows tests will be skipped." >&2
        return 0
    fi
    use_environment
    export WINEARCH=$arch
    quietly "$dir/wineboot.log" "$wine" wineboot -i </dev/null ||
        { echo "wineboot could not create the prefix $WINEPREFIX" >&2; return 1; }
    wineserver -w
    # No crash dialog (a crashing test exits), no window manager stalls on Xvfb, and Windows 10 by default.
    cat >"$dir/settings.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine]
"Version"="win10"
REG
    quietly "$dir/regedit.log" "$wine" regedit /S "$(winepath_of "$dir/settings.reg")" </dev/null ||
        { echo "regedit could not import the prefix settings" >&2; return 1; }
    # Debian's Wine otherwise draws caption buttons as letters.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    # One server for the whole run, its output kept away from the test runner's pipes.
    setsid wineserver -p </dev/null >"$dir/wineserver.log" 2>&1
}

winepath_of() {
    echo "Z:${1//\//\\}"
}

case "$cmd" in
start)
    arch=${1:-win64}
    stop_all
    start_display || exit 1
    start_prefix "$arch" || exit 1
    ;;
stop)
    stop_all
    ;;
run)
    exe=${1:?program}
    shift
    if [ "$(wine_arch "$exe")" = win32 ] && ! can_run_32bit; then
        echo "skipped: this machine cannot run 32-bit programs" >&2
        exit 77
    fi
    use_environment
    # Wine's helper processes inherit the output handles; files keep them off the test runner's pipes.
    out=$(mktemp "$dir/run.XXXXXX")
    trap 'rm -f "$out" "$out.out" "$out.err"' EXIT
    trap 'exit 130' INT TERM
    "$wine" "$exe" "$@" >"$out.out" 2>"$out.err" </dev/null
    rc=$?
    cat "$out.out"
    grep -v -E '^(wine: |[0-9a-f]{4}:(fixme|err|warn):)' "$out.err" >&2
    exit $rc
    ;;
exec)
    use_environment
    exec "$@"
    ;;
*)
    echo "unknown command: $cmd" >&2
    exit 2
    ;;
esac
