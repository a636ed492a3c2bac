#!/usr/bin/env bash
# Installs what is missing, builds Tessival.exe and runs it under Wine with the arguments given.
# With a display, it runs there in a Wine prefix of its own (build/run/prefix), which keeps its settings.
# Without one, it runs on a private Xvfb, saves a screenshot of the dialog, prints its path and closes it.
set -uo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
enter_project || exit 1

preset=$(runnable_preset)
build_quietly "$preset" Tessival || exit 1
exe="$root/build/$preset/Tessival.exe"
env=scripts/wine-env.sh

if [ -n "${DISPLAY:-}" ]; then
    # On the desktop's display, in a prefix of its own that Wine creates on the first run.
    exec "$env" run "$root/build/run" "$exe" "$@"
fi

dir="$root/build/run/headless"
trap '"$env" stop "$dir"' EXIT
"$env" start "$dir" "$(wine_arch "$exe")" || exit 1
"$env" run "$dir" "$exe" "$@" &
app=$!
shot="$root/build/run/tessival.png"
title=$(sed -n 's/^#define DIALOG_TITLE_TEXT "\(.*\)"$/\1/p' "$root/build/$preset/generated/version.h")
window=$("$env" exec "$dir" timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1)
if [ -z "$window" ]; then
    echo "No Tessival dialog appeared (a usage box or a hand-over ends the program without one)." >&2
    wait "$app"
    exit 1
fi
sleep 1  # let the dialog finish drawing
# xdotool writes the geometry as shell assignments, meant for eval: WINDOW, X, Y, WIDTH, HEIGHT and SCREEN.
X="" Y="" WIDTH="" HEIGHT=""
eval "$("$env" exec "$dir" xdotool getwindowgeometry --shell "$window")"
"$env" exec "$dir" import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" "$shot"
echo "$shot"
# Closed the program's own way: a key sent with xdotool could reach the window after it was gone, and X
# then reports a BadWindow error that looks like a failure.
"$env" run "$dir" "$exe" /C
wait "$app"
