#!/usr/bin/env bash
# Checks that the release is reproducible: scripts/release.sh, run in two clean clones in different folders,
# must give the same programs and the same SHA256SUMS, and each zip must hold its three files. The first clone
# also builds the test programs (--tests), so the same comparison shows that they leave the program untouched;
# its x64 test bundle is then moved to a third folder and run there under Wine, as Windows would run it.
set -euo pipefail
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
enter_project
work=$(mktemp -d "${TMPDIR:-/tmp}/tessival-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

commit=$(git -C "$root" rev-parse HEAD 2>/dev/null || true)
clones=("$work/one/Tessival" "$work/a second, longer folder/src/Tessival")
release_options=(--tests)
for clone in "${clones[@]}"; do
    mkdir -p "$(dirname "$clone")"
    if [ -n "$commit" ]; then
        git clone --quiet --no-hardlinks --no-checkout "$root" "$clone"
        git -C "$clone" checkout --quiet --detach "$commit"
    else
        # Not a git checkout: copy the sources, and give both copies the same release time.
        mkdir -p "$clone"
        tar -C "$root" --exclude=./build -cf - . | tar -C "$clone" -xf -
        export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date +%s)}
    fi
    quietly "$clone/release.log" bash "$clone/scripts/release.sh" "${release_options[@]}" "$clone/out" ||
        { echo "release.sh failed in $clone" >&2; exit 1; }
    release_options=()
done

one=${clones[0]}/out
two=${clones[1]}/out
status=0
same_release "$one" "$two" exe-sha256.txt SHA256SUMS winget/Ondrake.Tessival.yaml \
    winget/Ondrake.Tessival.locale.en-US.yaml winget/Ondrake.Tessival.installer.yaml tessival.json || status=1
for zip in "$one"/Tessival-*.zip; do
    entries=$(cmake -E tar tf "$zip" | tr '\n' ' ')
    if [ "$entries" != "Tessival.exe README.md LICENSE " ]; then
        echo "$(basename "$zip") holds: $entries" >&2
        status=1
    fi
done
# The package managers' manifests of this very release, against their schemas.
bash "$root/scripts/check-manifests.sh" "$one" || status=1
[ $status -eq 0 ] || exit $status
echo "Release reproducible from two clean clones, one of them with its test programs:"
cat "$one/exe-sha256.txt" "$one/SHA256SUMS"

moved="$work/moved elsewhere/tests-x64"
mkdir -p "$(dirname "$moved")"
mv "$one/tests-x64" "$moved"
rm -rf "${clones[0]}"
bash "$root/scripts/run-bundle.sh" "$moved"
