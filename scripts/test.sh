#!/usr/bin/env bash
# Installs what is missing, builds Tessival for x86 and x64 and runs every test under Wine, each build
# in its own private Wine prefix and Xvfb display, which are removed again however the run ends.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
bash scripts/setup.sh || exit 1

cleanup() {
    for dir in build/x86/wine build/x64/wine; do
        [ -d "$dir" ] && scripts/wine-env.sh stop "$dir"
    done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

status=0
cmake --workflow --preset x86 || status=1
cmake --workflow --preset x64 || status=1
exit $status
