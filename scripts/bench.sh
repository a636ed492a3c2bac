#!/usr/bin/env bash
# Benchmark: Tessival.exe against two floor dialogs built from the same template, one doing the work any faithful
# program must and one doing none of it, interleaved, with the programs, Wine's server and the X server pinned to
# one CPU. Prints medians, ratios and file sizes.
#   scripts/bench.sh [ROUNDS]
set -uo pipefail
rounds=${1:-30}
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
enter_project || exit 1

preset=$(runnable_preset)
build_quietly "$preset" Tessival floor_dialog floor_bare bench_driver || exit 1
# The shipped program's size is printed too, even where only the x64 build can run.
if [ "$preset" != x86 ]; then
    build_quietly x86 Tessival floor_dialog || exit 1
fi

dir="$root/build/bench"
env=scripts/wine-env.sh
build="$root/build/$preset"
trap '"$env" stop "$dir"' EXIT
# Everything started from here inherits the one-CPU affinity: Xvfb, wineserver and the measured programs.
taskset -c 0 "$env" start "$dir" "$(wine_arch "$build/Tessival.exe")" || exit 1
taskset -c 0 "$env" run "$dir" "$build/tests/bench_driver.exe" "$build/Tessival.exe" "$build/tests/floor_dialog.exe" \
    "$build/tests/floor_bare.exe" "$rounds"
for flavour in x86 x64; do
    [ -f "build/$flavour/Tessival.exe" ] || continue
    printf '%-32s %12d %12d   (%s, bytes)\n' "file size" "$(stat -c %s "build/$flavour/Tessival.exe")" \
        "$(stat -c %s "build/$flavour/tests/floor_dialog.exe")" "$flavour"
done
