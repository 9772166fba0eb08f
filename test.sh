#!/usr/bin/env bash
# Installs what is missing, builds Kelvano and runs the whole test suite.
# With --sanitize: the same suite in the sanitizer tree build-asan/ (clang, Debug, ASan + UBSan).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh

if [ "${1:-}" = "--sanitize" ]; then
    kelvano_install_missing "${kelvano_sanitizer_packages[@]}"
    kelvano_build_sanitizer
    kelvano_sanitizer_environment
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
    exit
elif [ $# -gt 0 ]; then
    echo "usage: $0 [--sanitize]" >&2
    exit 2
fi

kelvano_install_missing "${kelvano_test_packages[@]}"
kelvano_build Release

if command -v clang-format >/dev/null 2>&1; then
    unformatted=()
    while IFS= read -r source_file; do
        if [ -n "$(clang-format --dry-run "$source_file" 2>&1)" ]; then
            unformatted+=("$source_file")
        fi
    done < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null)
    if [ ${#unformatted[@]} -gt 0 ]; then
        echo "Not formatted with clang-format (run clang-format -i on them): ${unformatted[*]}" >&2
        exit 1
    fi
fi

ctest --test-dir build --output-on-failure -j "$(nproc)"
scripts/check-package.sh build
