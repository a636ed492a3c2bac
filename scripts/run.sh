#!/usr/bin/env bash
# Installs what is missing, builds Tessival.exe and runs it under Wine with the arguments given.
# With a display, it runs there in a Wine prefix of its own (build/run/prefix), which keeps its settings.
# Without one, it runs on a private Xvfb, saves a screenshot of the dialog, prints its path and closes it.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
bash scripts/setup.sh || exit 1
# shellcheck source=scripts/machine.sh
. scripts/machine.sh

preset=x86
if ! can_run_32bit; then
    echo "This machine cannot run 32-bit programs: running the x64 build instead." >&2
    preset=x64
fi
{ cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" --target Tessival >/dev/null; } || exit 1
exe="$root/build/$preset/Tessival.exe"

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX="$root/build/run/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ "$preset" = x64 ] && export WINELOADER=/usr/lib/wine/wine64
    wine=${WINELOADER:-/usr/bin/wine}
    if [ ! -d "$WINEPREFIX" ]; then
        mkdir -p "$WINEPREFIX"
        "$wine" wineboot -i >/dev/null 2>&1
    fi
    exec "$wine" "$exe" "$@"
fi

dir="$root/build/run/headless"
env=scripts/wine-env.sh
arch=win32; [ "$preset" = x64 ] && arch=win64
trap '"$env" stop "$dir"' EXIT
"$env" start "$dir" "$arch" || exit 1
"$env" run "$dir" "$exe" "$@" &
app=$!
shot="$root/build/run/tessival.png"
window=$("$env" exec "$dir" timeout 30 xdotool search --sync --onlyvisible --name "Windows Error Lookup" | head -n 1)
if [ -z "$window" ]; then
    echo "No Tessival dialog appeared (a usage box or a hand-over ends the program without one)." >&2
    wait "$app"
    exit 1
fi
sleep 1  # let the dialog finish drawing
X="" Y="" WIDTH="" HEIGHT=""
while IFS='=' read -r name value; do
    case "$name" in
    X) X=$value ;;
    Y) Y=$value ;;
    WIDTH) WIDTH=$value ;;
    HEIGHT) HEIGHT=$value ;;
    esac
done < <("$env" exec "$dir" xdotool getwindowgeometry --shell "$window")
"$env" exec "$dir" import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shot"
echo "$shot"
# Closed the program's own way: a key sent with xdotool could reach the window after it was gone, and X
# then reports a BadWindow error that looks like a failure.
"$env" run "$dir" "$exe" /C
wait "$app"
