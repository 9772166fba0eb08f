#!/usr/bin/env bash
# Installs the Debian packages Kelvano needs (only those missing) and builds build/.
# Sourced by run.sh and test.sh; $1 is the CMake build type.
set -euo pipefail

kelvano_packages=(
    qt6-base-dev libicu-dev libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    cmake ninja-build g++ pkg-config fonts-noto-cjk clang-format
)

kelvano_install_missing() {
    local missing=()
    local package
    for package in "${kelvano_packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

kelvano_build() {
    local build_type=$1
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
    cmake --build build
}
