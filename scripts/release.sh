#!/usr/bin/env bash
# Builds the release from scratch: the shipped x86 program and the x64 one, each zipped with README.md and
# LICENSE, and SHA256SUMS, in build/release/. The same commit gives the same bytes wherever it is built:
#   - the version block's "Build" is the last commit's time (SOURCE_DATE_EPOCH, unless already set);
#   - its "Built On" is the fixed name below, not this machine's;
#   - the linker writes no time stamp, and no path of the build folder reaches the program;
#   - the zips list their files in a fixed order, with the commit's time, fixed permissions and user 0.
# Usage: scripts/release.sh [output folder]   (default build/release)
set -euo pipefail
out=${1:-$(dirname "$0")/../build/release}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup.sh

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

# libarchive stores the owner's numeric ids in each zip entry; as user 0 they are the same for every builder.
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if unshare --map-root-user true 2>/dev/null; then
        as_root=(unshare --map-root-user)
    else
        echo "warning: the zips record user id $(id -u); the published ones are made as user 0" >&2
    fi
fi

rm -rf "$out/build" "$out/stage" "$out"/Tessival-*.zip "$out/SHA256SUMS"
version=""
for arch in x86 x64; do
    build="$out/build/$arch"
    cmake --preset "$arch" -B "$build" --fresh -DTESSIVAL_TESTS=OFF >"$out/configure-$arch.log" ||
        { cat "$out/configure-$arch.log" >&2; exit 1; }
    cmake --build "$build" --target Tessival >"$out/build-$arch.log" ||
        { cat "$out/build-$arch.log" >&2; exit 1; }
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

    stage="$out/stage/$arch"
    mkdir -p "$stage"
    install -m 0755 "$build/Tessival.exe" "$stage/Tessival.exe"
    install -m 0644 README.md LICENSE "$stage/"
    zip="Tessival-$version-$arch.zip"
    # With SOURCE_DATE_EPOCH set and no --mtime, every time in the entries is the commit's.
    (cd "$stage" && "${as_root[@]}" cmake -E tar cf "$out/$zip" --format=zip -- Tessival.exe README.md LICENSE)
done

(cd "$out" && sha256sum "Tessival-$version-x86.zip" "Tessival-$version-x64.zip" >SHA256SUMS)
(cd "$out/stage" && sha256sum x86/Tessival.exe x64/Tessival.exe >"$out/exe-sha256.txt")
echo "Release $version, built as of $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S') UTC, in $out:"
cat "$out/SHA256SUMS"
