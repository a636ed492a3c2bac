#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tessival need: the MinGW-w64 cross compilers,
# Wine (32- and 64-bit), Xvfb, CMake, Ninja, GoogleTest's source, clang (the second compiler), the script
# linter, Node.js with npm for the workflow lint and Info-ZIP's zip for the release. Quiet and quick when all is
# present.
set -euo pipefail

packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools wine wine32 wine64 xvfb cmake ninja-build
          googletest fonts-wine xdotool imagemagick x11-utils file clang shellcheck zip)
# Any Node.js with npm will do: NodeSource's nodejs package carries its own npm and conflicts with Debian's.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
    packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

echo "Installing: ${missing[*]}" >&2
# wine32 exists only for the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
