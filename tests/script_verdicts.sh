#!/usr/bin/env bash
# The test command's own verdicts, from tables of cases, without building or running anything under Wine: the
# steps of scripts/test.sh and its last line, run-bundle.sh's verdict on a program's exit code, and check-release.sh's
# comparison of two release folders.
set -uo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/../scripts/common.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/tessival-verdicts.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
status=0
cases=0

# What a case printed (stdout and stderr in order, lines joined with "|") and its exit code, against what it should.
expect() {
    local name=$1 expected=$2 actual=$3
    cases=$((cases + 1))
    if [ "$expected" != "$actual" ]; then
        printf 'FAILED: %s\n  expected: %s\n  got:      %s\n' "$name" "$expected" "$actual" >&2
        status=1
    fi
}

# Runs a command and gives its output as expect() compares it, then "rc" and its exit code.
outcome() {
    local output rc
    output=$("$@" 2>&1)
    rc=$?
    printf '%s|rc %s' "${output//$'\n'/|}" "$rc"
}

exit_with() {
    return "$1"
}

# A run of steps that end with the exit codes given, named "step 1", "step 2", ..., and its verdict.
run_steps() (
    failed=()
    local i=0 code
    for code in "$@"; do
        i=$((i + 1))
        step "step $i" exit_with "$code"
    done
    steps_verdict
)

expect "no step failed" "== step 1|== step 2|All passed.|rc 0" "$(outcome run_steps 0 0)"
expect "the first step failed" "== step 1|== step 2|FAILED: step 1|rc 1" "$(outcome run_steps 2 0)"
expect "the last step failed" "== step 1|== step 2|FAILED: step 2|rc 1" "$(outcome run_steps 0 1)"
expect "two steps failed" "== step 1|== step 2|== step 3|FAILED: step 1|FAILED: step 3|rc 1" \
    "$(outcome run_steps 1 0 1)"

# A test program's exit code, and the bundle runner's verdict on it.
expect "exit code 0" "|rc 0" "$(outcome program_verdict a_tests.exe 0)"
expect "exit code 77" "SKIPPED AS A WHOLE: a_tests.exe|rc 1" "$(outcome program_verdict a_tests.exe 77)"
expect "exit code 1" "FAILED: a_tests.exe (exit code 1)|rc 1" "$(outcome program_verdict a_tests.exe 1)"
expect "exit code 124 (time-out)" "FAILED: a_tests.exe (exit code 124)|rc 1" \
    "$(outcome program_verdict a_tests.exe 124)"

# Release folders: two alike, and two that each differ from the first in one list.
for folder in one two zips programs; do
    mkdir -p "$work/$folder"
    echo "1111  x86/Tessival.exe" >"$work/$folder/exe-sha256.txt"
    echo "2222  Tessival-x86.zip" >"$work/$folder/SHA256SUMS"
done
echo "3333  Tessival-x86.zip" >"$work/zips/SHA256SUMS"
echo "4444  x86/Tessival.exe" >"$work/programs/exe-sha256.txt"
verdict() {
    outcome same_release "$@" exe-sha256.txt SHA256SUMS | sed 's/.*|rc /rc /'
}
expect "alike" "rc 0" "$(verdict "$work/one" "$work/two")"
expect "other zips" "rc 1" "$(verdict "$work/one" "$work/zips")"
expect "other programs" "rc 1" "$(verdict "$work/programs" "$work/one")"
expect "one folder twice" "rc 1" "$(verdict "$work/one" "$work/one")"
expect "one folder by two paths" "rc 1" "$(verdict "$work/one" "$work/two/../one")"
shown="Not reproducible: the two builds differ in SHA256SUMS:|1c1|< 2222  Tessival-x86.zip|---|> 3333  Tessival-x86.zip"
expect "the differences shown" "$shown|rc 1" \
    "$(outcome same_release "$work/one" "$work/zips" exe-sha256.txt SHA256SUMS)"
expect "no file named" "rc 1" "$(outcome same_release "$work/one" "$work/two" | sed 's/.*|rc /rc /')"

[ $status -eq 0 ] || exit $status
echo "script verdicts: $cases cases passed"
