#!/usr/bin/env bash
# bench/web_table_bench.sh [BUILD_DIR]: the page sizes of a 1,000-row parts list in both markups, and
# in-page sorting (click to next paint) and filtering (keystroke to next paint) of 2,000 and 10,000
# rows in headless chromium. Needs chromium and node; puppeteer-core is installed from npm into a
# folder of its own under the cache folder (it drives Debian's chromium, it downloads none).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target kelvano_web_table_pages >/dev/null
pages=$(mktemp -d)
trap 'rm -rf "$pages"' EXIT
"$build/bin/kelvano_web_table_pages" "$pages"
tools=${XDG_CACHE_HOME:-$HOME/.cache}/kelvano-bench
if [ ! -d "$tools/node_modules/puppeteer-core" ]; then
    mkdir -p "$tools"
    (cd "$tools" && npm install --no-audit --no-fund --silent puppeteer-core@22)
fi
cp bench/web_table_bench.mjs "$tools/"
node "$tools/web_table_bench.mjs" "$pages"
