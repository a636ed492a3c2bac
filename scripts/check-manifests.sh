#!/usr/bin/env bash
# Checks the package managers' manifests of a built release (scripts/check-manifests.js) against the schemas in
# ../shared/schemas/ beside the project, with the pinned npm packages of scripts/node-tools/.
# With --tests it runs the check's own tests instead: each seeded fault in a manifest must fail it.
# Usage: scripts/check-manifests.sh <release folder> | --tests
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/node-tools.sh
. "$root/scripts/node-tools.sh"
node_tools_install

if [ "${1:-}" = --tests ]; then
    TESSIVAL_NODE_MODULES="$node_tools/node_modules" exec node --test "$root/tests/manifests/"
fi
if [ $# -ne 1 ] || [ ! -d "$1" ]; then
    echo "Usage: scripts/check-manifests.sh <release folder> | --tests" >&2
    exit 2
fi
exec node "$root/scripts/check-manifests.js" "$node_tools/node_modules" "$1"
