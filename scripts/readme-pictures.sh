#!/usr/bin/env bash
# Makes the README's pictures again: docs/main-window.png, docs/editor.png and docs/page.png, from
# scripts/screenshots.sh's sample program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
scripts/screenshots.sh "$shots" >/dev/null
mkdir -p docs
cp "$shots/main-tables.png" docs/main-window.png
cp "$shots/editor.png" docs/editor.png
cp "$shots/page.png" docs/page.png
ls docs/*.png
