#!/usr/bin/env bash
# scripts/check-package.sh [BUILD_DIR]: builds the Debian package, unpacks it into a scratch root and
# checks it as an installation: the desktop entry and the metainfo validate, both installed programs
# run, and the installed kelvano-publish writes a sample table's page byte for byte as the build does.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
package=$(scripts/package.sh "$build" | tail -n 1)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

dpkg -x "$package" "$scratch/root"
share="$scratch/root/usr/share"
desktop-file-validate "$share/applications/org.kelvano.Kelvano.desktop"
appstreamcli validate --no-net "$share/metainfo/org.kelvano.Kelvano.metainfo.xml" >/dev/null
for file in "$share/icons/hicolor/scalable/apps/org.kelvano.Kelvano.svg" "$share/kelvano/help/index.html" \
    "$share/man/man1/kelvano.1" "$share/man/man1/kelvano-publish.1"; do
    [ -f "$file" ] || { echo "missing from the package: ${file#"$scratch/root"}" >&2; exit 1; }
done
"$scratch/root/usr/bin/kelvano" --version
"$scratch/root/usr/bin/kelvano-publish" --help >/dev/null

# A sample program folder with its pages as the build writes them; the installed program writes them again.
export SOURCE_DATE_EPOCH=1796727600
QT_QPA_PLATFORM=offscreen "$build/bin/kelvano-screenshots" "$scratch/shots" >/dev/null 2>&1
html="$scratch/shots/sample/HTML"
mv "$html" "$scratch/expected"
mkdir "$html"
"$scratch/root/usr/bin/kelvano-publish" --program-folder "$scratch/shots/sample" --all
for page in kudamono.html tenpo.html; do
    cmp "$scratch/expected/$page" "$html/$page"
done
echo "package checked: $package"
