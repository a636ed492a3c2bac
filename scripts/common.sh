# shellcheck shell=bash
# What the project's scripts share, for those that source this file: the start of every script that builds, what
# this machine can run, and quiet steps whose output shows only when they fail.

# Enters the project's root, sets root to its path and installs what is missing.
enter_project() {
    cd "$(dirname "${BASH_SOURCE[0]}")/.." || return 1
    # shellcheck disable=SC2034  # for the calling script
    root=$(pwd)
    bash scripts/setup.sh
}

# Some machines cannot execute 32-bit Linux programs, so the 32-bit Wine loader cannot start there.
can_run_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The preset whose programs this machine can run: the shipped x86 build, or else the x64 one, said so on stderr.
runnable_preset() {
    if can_run_32bit; then
        echo x86
    else
        echo "This machine cannot run 32-bit programs: using the x64 build instead." >&2
        echo x64
    fi
}

# The Wine architecture that a Windows program or module needs, win32 or win64; fails for any other file.
wine_arch() {
    case "$(file -b "$1" 2>/dev/null)" in
    PE32+*) echo win64 ;;
    PE32*) echo win32 ;;
    *) return 1 ;;
    esac
}

# Runs a command with its output going to LOG, and shows LOG if the command fails.
quietly() {
    local log=$1 status=0
    shift
    "$@" >"$log" 2>&1 || status=$?
    [ "$status" -eq 0 ] || cat "$log" >&2
    return "$status"
}

# Configures a preset (from the project's root) and builds the targets named.
build_quietly() {
    local preset=$1
    shift
    mkdir -p "build/$preset"
    quietly "build/$preset/quiet-build.log" cmake --preset "$preset" &&
        quietly "build/$preset/quiet-build.log" cmake --build --preset "$preset" --target "$@"
}
