# shellcheck shell=bash
# What the project's scripts share, for those that source this file: the start of every script that builds, what
# this machine can run, quiet steps whose output shows only when they fail, and the verdicts of the test command
# (its steps, a test bundle's programs, two release builds), kept here so that tests/script_verdicts.sh can judge them.

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

# Runs one step of a run of steps: shows its name, runs the command, and adds the name to the caller's array failed
# when the command fails.
step() {
    local name=$1
    shift
    echo "== $name"
    "$@" || failed+=("$name")
}

# The verdict of a run of steps, from the caller's array failed: each step that failed is named on stderr and the
# result is 1; with none, "All passed." and 0.
steps_verdict() {
    if [ ${#failed[@]} -gt 0 ]; then
        printf 'FAILED: %s\n' "${failed[@]}" >&2
        return 1
    fi
    echo "All passed."
}

# The verdict on one program of a test bundle, from its name and exit code: it passed only with 0. A test program
# exits with 77 when it skipped every test it ran, which in a bundle means its tests did not run where they must.
program_verdict() {
    local name=$1 rc=$2
    if [ "$rc" -eq 77 ]; then
        echo "SKIPPED AS A WHOLE: $name"
        return 1
    elif [ "$rc" -ne 0 ]; then
        echo "FAILED: $name (exit code $rc)"
        return 1
    fi
}

# Whether two release folders hold the same files, named after the two folders (the checksums of the programs and
# of the zips, the manifests); shows the differences when not. A folder compared with itself proves nothing, so that
# is refused.
same_release() {
    local one=$1 two=$2 list status=0
    shift 2
    if [ $# -eq 0 ]; then
        echo "Not compared: no file of $one and $two named" >&2
        return 1
    fi
    if [ "$(cd "$one" && pwd -P)" = "$(cd "$two" && pwd -P)" ]; then
        echo "Not compared: $one and $two are the same folder" >&2
        return 1
    fi
    for list in "$@"; do
        if ! cmp -s "$one/$list" "$two/$list"; then
            echo "Not reproducible: the two builds differ in $list:" >&2
            diff "$one/$list" "$two/$list" >&2 || true
            status=1
        fi
    done
    return $status
}
