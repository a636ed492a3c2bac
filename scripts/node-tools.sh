# shellcheck shell=bash
# The npm packages the scripts run (the workflow lint, the manifests' schema check), at the exact versions of
# scripts/node-tools/package-lock.json, installed into build/tools/node rather than into the sources. Node.js and
# npm come from scripts/setup.sh. No package's install scripts run: nothing is fetched but the locked packages.

# Installs them unless the same lock is already installed, and sets node_tools to the folder that holds
# node_modules. Fails, saying why, where Node.js or npm is missing or the install fails.
node_tools_install() {
    local source lock_copy
    source="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/node-tools"
    node_tools="$(cd "$source/../.." && pwd)/build/tools/node"
    if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
        echo "Node.js or npm not found: scripts/setup.sh installs them" >&2
        return 1
    fi
    lock_copy="$node_tools/package-lock.json"
    if [ -d "$node_tools/node_modules" ] && cmp -s "$source/package-lock.json" "$lock_copy" &&
        cmp -s "$source/package.json" "$node_tools/package.json"; then
        return 0
    fi
    rm -rf "$node_tools"
    mkdir -p "$node_tools"
    cp "$source/package.json" "$source/package-lock.json" "$node_tools/"
    if ! (cd "$node_tools" && npm ci --ignore-scripts --no-audit --no-fund >npm-ci.log 2>&1); then
        cat "$node_tools/npm-ci.log" >&2
        echo "Installing the npm packages of scripts/node-tools/package-lock.json failed" >&2
        # A half-installed folder must not pass for an installed one next time.
        rm -f "$lock_copy"
        return 1
    fi
}
