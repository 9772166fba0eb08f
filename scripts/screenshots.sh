#!/usr/bin/env bash
# scripts/screenshots.sh OUT_DIR: a PNG of every window of Kelvano (the main window's five pages, both
# formatting dialogs, the editor with each view, the reference and link lists, the picture picker, the
# directory picker, the help window) on a sample program folder made in OUT_DIR/sample, and page.png,
# the sample's written page in a browser when chromium is installed. Uses the build in $KELVANO_BUILD
# (default build/), building it when kelvano-screenshots is missing. Dates are fixed through
# SOURCE_DATE_EPOCH, so the pictures can be made again the same.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 1 ]; then
    echo "usage: $0 OUT_DIR" >&2
    exit 2
fi
out=$(mkdir -p "$1" && cd "$1" && pwd)
build=${KELVANO_BUILD:-build}

source scripts/setup.sh
kelvano_install_missing xvfb xauth
if [ ! -x "$build/bin/kelvano-screenshots" ]; then
    cmake -S . -B "$build" -G Ninja >/dev/null
    cmake --build "$build" --target kelvano-screenshots kelvano
fi

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1796727600}
LANG=ja_JP.UTF-8 xvfb-run -a -s "-screen 0 1280x900x24" "$build/bin/kelvano-screenshots" "$out"

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -n "$browser" ]; then
    "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=800,600 \
        --screenshot="$out/page.png" "file://$out/sample/HTML/kudamono.html" 2>/dev/null
    echo "$out/page.png"
else
    echo "chromium is not installed: no page.png" >&2
fi
