#!/usr/bin/env bash
# Checks every shell script of the project with shellcheck.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts=(.ci/run scripts/*.sh tests/*.sh)
shellcheck --external-sources "${scripts[@]}"
echo "shellcheck: ${#scripts[@]} scripts, no findings"
