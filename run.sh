#!/usr/bin/env bash
# Installs what is missing, builds Kelvano (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/setup.sh
kelvano_install_missing
kelvano_build Release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: run it under a virtual one with  xvfb-run -a ./build/bin/kelvano"
    exit 0
fi
exec ./build/bin/kelvano "$@"
