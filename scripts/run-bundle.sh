#!/usr/bin/env bash
# Runs a test bundle (scripts/release.sh --tests) under Wine the way run-tests.ps1 runs it on Windows: every
# test program from the bundle's own folder, wherever that is, in a private Wine prefix and display that are
# removed again however the run ends. Fails if a program fails or reports itself skipped as a whole.
#   scripts/run-bundle.sh BUNDLE_FOLDER
set -uo pipefail
bundle=$(cd "${1:?bundle folder}" && pwd) || exit 1
env=$(cd "$(dirname "$0")" && pwd)/wine-env.sh
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
arch=$(wine_arch "$bundle/Tessival.exe") || { echo "No Windows program at $bundle/Tessival.exe" >&2; exit 1; }

dir=$(mktemp -d "${TMPDIR:-/tmp}/tessival-bundle.XXXXXX")
trap '"$env" stop "$dir"; rm -rf "$dir"' EXIT
trap 'exit 130' INT TERM
"$env" start "$dir" "$arch" || exit 1

failed=()
count=0
for program in "$bundle"/tests/*_tests.exe; do
    [ -e "$program" ] || { echo "No test programs in $bundle/tests" >&2; exit 1; }
    name=$(basename "$program")
    count=$((count + 1))
    echo "== $name"
    timeout 300 "$env" run "$dir" "$program" --gtest_color=no 2>&1
    program_verdict "$name" $? || failed+=("$name")
done
echo "Test bundle in $bundle: $((count - ${#failed[@]})) of $count test programs passed"
[ ${#failed[@]} -eq 0 ] || { printf 'Failed: %s\n' "${failed[*]}" >&2; exit 1; }
