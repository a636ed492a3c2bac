# shellcheck shell=bash
# What this machine can run, for the scripts that source this file.

# Some machines cannot execute 32-bit Linux programs, so the 32-bit Wine loader cannot start there.
can_run_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
