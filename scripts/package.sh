#!/usr/bin/env bash
# scripts/package.sh [BUILD_DIR]: builds the Debian package kelvano_<version>_amd64.deb in BUILD_DIR
# (default build/, configured and built first when needed) and prints its path on the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
source scripts/setup.sh
kelvano_install_missing dpkg-dev
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target kelvano kelvano-publish kelvano-docs >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
package="$(cd "$build" && pwd)/kelvano_${version}_$(dpkg --print-architecture).deb"
[ -f "$package" ] || { echo "no package at $package" >&2; exit 1; }
echo "$package"
