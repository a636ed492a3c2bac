# shellcheck shell=bash
# What this machine can run, for the scripts that source this file.

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
