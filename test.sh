#!/usr/bin/env bash
# Installs what is missing, builds Kelvano and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
kelvano_install_missing
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
