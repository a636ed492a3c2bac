#!/usr/bin/env bash
# Builds the release from scratch: the shipped x86 program and the x64 one, each zipped with README.md and
# LICENSE, SHA256SUMS, and the package managers' manifests made from its hashes (winget/ and tessival.json, by
# scripts/manifests.js), in build/release/. The same commit gives the same bytes wherever it is built:
#   - the version block's "Build" is the last commit's time (SOURCE_DATE_EPOCH, unless already set);
#   - its "Built On" is the fixed name below, not this machine's;
#   - the linker writes no time stamp, and no path of the build folder reaches the program;
#   - the zips list their files in a fixed order, with the commit's time and fixed permissions, and no owner ids.
# With --tests, the same build trees also build the test programs, and build/release/tests-x86 and tests-x64 each
# hold a bundle to run on Windows itself: the zipped Tessival.exe, byte for byte, with what the build installs as
# its tests component (the test programs, their helpers and modules, and run-tests.ps1).
# Usage: scripts/release.sh [--tests] [output folder]   (default build/release)
set -euo pipefail
with_tests=OFF
if [ "${1:-}" = --tests ]; then
    with_tests=ON
    shift
fi
out=${1:-$(dirname "$0")/../build/release}
mkdir -p "$out"
out=$(cd "$out" && pwd)
# shellcheck source=scripts/common.sh
. "$(dirname "$0")/common.sh"
enter_project

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    if ! SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null) || [ -z "$SOURCE_DATE_EPOCH" ]; then
        echo "Not a git checkout: set SOURCE_DATE_EPOCH to the release's time (seconds since 1970)." >&2
        exit 1
    fi
fi
export SOURCE_DATE_EPOCH
export TESSIVAL_BUILD_HOST=tessival-release
# The zips' DOS times are local times.
export TZ=UTC

# The test programs, built after the program was zipped, and copied with the zipped program's own bytes: a test
# of the bundle is a test of the download.
bundle_tests() {
    local arch=$1 build=$2 zip=$3
    local bundle="$out/tests-$arch"
    quietly "$out/build-tests-$arch.log" cmake --build "$build"
    mkdir -p "$bundle"
    (cd "$bundle" && cmake -E tar xf "$zip" -- Tessival.exe)
    if ! cmp -s "$bundle/Tessival.exe" "$build/Tessival.exe"; then
        echo "Building the tests changed $build/Tessival.exe: it is no longer the zipped program" >&2
        exit 1
    fi
    quietly "$out/install-tests-$arch.log" cmake --install "$build" --component tests --prefix "$bundle"
    echo "Test bundle for $arch: $(find "$bundle/tests" -name '*_tests.exe' | wc -l) test programs in $bundle"
}

rm -rf "$out/build" "$out/stage" "$out"/Tessival-*.zip "$out/SHA256SUMS" "$out"/tests-x86 "$out"/tests-x64 \
    "$out/winget" "$out/tessival.json"
version=""
homepage=""
for arch in x86 x64; do
    build="$out/build/$arch"
    quietly "$out/configure-$arch.log" cmake --preset "$arch" -B "$build" --fresh -DTESSIVAL_TESTS=$with_tests
    quietly "$out/build-$arch.log" cmake --build "$build" --target Tessival
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
    homepage=$(sed -n 's/^CMAKE_PROJECT_HOMEPAGE_URL:STATIC=//p' "$build/CMakeCache.txt")

    stage="$out/stage/$arch"
    mkdir -p "$stage"
    install -m 0755 "$build/Tessival.exe" "$stage/Tessival.exe"
    install -m 0644 README.md LICENSE "$stage/"
    # Info-ZIP stores each file's own time; -X leaves out the owner's ids and every other extra field.
    touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
    zip="Tessival-$version-$arch.zip"
    (cd "$stage" && zip -X -q "$out/$zip" Tessival.exe README.md LICENSE)
    if [ "$with_tests" = ON ]; then
        bundle_tests "$arch" "$build" "$out/$zip"
    fi
done

(cd "$out" && sha256sum "Tessival-$version-x86.zip" "Tessival-$version-x64.zip" >SHA256SUMS)
(cd "$out/stage" && sha256sum x86/Tessival.exe x64/Tessival.exe >"$out/exe-sha256.txt")
# On GitHub Actions the manifests name the repository the release is built in (a fork's own releases).
quietly "$out/manifests.log" node scripts/manifests.js "$out" "$version" "$homepage"
echo "Release $version, built as of $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S') UTC, in $out:"
cat "$out/SHA256SUMS"
echo "Manifests: $(sed 's|^|'"$out"'/|' "$out/manifests.log" | tr '\n' ' ')"
