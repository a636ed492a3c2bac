#!/usr/bin/env bash
# Fails unless the executable is a GUI program that Windows XP can load: subsystem version 5.01 (5.02 for
# x64) and imports only from XP's system DLLs, only functions those DLLs export on XP (tests/xp_imports.txt).
set -u
objdump=$1 exe=$2 allowed=$3 version=$4
dump=$("$objdump" -p "$exe") || { echo "cannot read $exe" >&2; exit 1; }
status=0
grep -q "^Subsystem.*(Windows GUI)" <<<"$dump" || { echo "not a Windows GUI program" >&2; status=1; }
major=${version%%.*} minor=$((10#${version#*.}))
if ! grep -qx "MajorSubsystemVersion[[:space:]]*$major" <<<"$dump" ||
    ! grep -qx "MinorSubsystemVersion[[:space:]]*$minor" <<<"$dump"; then
    echo "subsystem version is not $version" >&2
    status=1
fi
grep -qx "MajorOSystemVersion[[:space:]]*$major" <<<"$dump" ||
    { echo "OS version is not $version" >&2; status=1; }
# Lines "DLL!Function" for every import, by name.
imports=$(awk '
    /DLL Name:/ { dll = tolower($3); next }
    /^[[:space:]]*$/ { dll = "" }
    dll != "" && NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll "!" $3 }
' <<<"$dump" | sort -u)
[ -n "$imports" ] || { echo "no imports found: the check cannot read this file" >&2; exit 1; }
while read -r entry; do
    if ! grep -v "^#" "$allowed" | grep -qix -- "$entry"; then
        echo "import not available on Windows XP (or not yet reviewed): $entry" >&2
        status=1
    fi
done <<<"$imports"
count=$(wc -l <<<"$imports")
[ $status -eq 0 ] && echo "$exe: subsystem $version, $count imports, all present on Windows XP"
exit $status
