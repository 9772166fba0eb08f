#!/usr/bin/env bash
# Installs the Debian packages Kelvano needs (only those missing) and builds build/, or the sanitizer
# tree build-asan/. Sourced by run.sh, test.sh and scripts/fuzz.sh.
set -euo pipefail

kelvano_packages=(
    qt6-base-dev qt6-translations-l10n libicu-dev libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    cmake ninja-build g++ pkg-config fonts-noto-cjk clang-format libcurl4-openssl-dev libssl-dev qtkeychain-qt6-dev
    libquazip1-qt6-dev qt6-5compat-dev zlib1g-dev python3-openpyxl python3-odf
)
# What ./test.sh needs besides: the package build and its checks.
kelvano_test_packages=(dpkg-dev lintian desktop-file-utils appstream tidy chromium
    openssh-server openssh-client vsftpd openssl gnome-keyring libsecret-1-0 dbus-daemon)
# The sanitizer tree and the fuzz targets: clang with its ASan, UBSan and libFuzzer runtimes.
kelvano_sanitizer_packages=(clang libclang-rt-14-dev)

# Installs the missing ones of kelvano_packages and of any package named in the arguments.
kelvano_install_missing() {
    local missing=()
    local package
    for package in "${kelvano_packages[@]}" "$@"; do
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
    # No service of an installed package is started or enabled here (the upload tests' sshd and vsftpd
    # are run by the tests themselves): a policy-rc.d that refuses every start, for this install only.
    local policy=/usr/sbin/policy-rc.d own_policy=no
    if [ ! -e "$policy" ]; then
        printf '#!/bin/sh\nexit 101\n' | "${sudo[@]}" tee "$policy" >/dev/null
        "${sudo[@]}" chmod 755 "$policy"
        own_policy=yes
    fi
    local status=0
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
        status=$?
    if [ "$own_policy" = yes ]; then
        "${sudo[@]}" rm -f "$policy"
    fi
    return $status
}

# $1 is the CMake build type.
kelvano_build() {
    local build_type=$1
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
    cmake --build build
}

# The sanitizer tree: clang, Debug (Q_ASSERT active), ASan + UBSan, and the fuzz targets.
kelvano_build_sanitizer() {
    CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVANO_SANITIZE=ON >/dev/null
    cmake --build build-asan
}

# Sanitizer settings for running anything of build-asan/.
kelvano_sanitizer_environment() {
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
}
