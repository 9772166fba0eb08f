#!/usr/bin/env bash
# scripts/check-package.sh [BUILD_DIR]: builds the Debian package, unpacks it into a scratch root and
# checks it as an installation: lintian finds no error and no warning, the desktop entry and the metainfo
# validate, the manual pages (English and Japanese) are there and format without a warning, the
# changelog's latest entry is the package's version, both installed programs run, and the installed
# kelvano-publish writes a sample table's page byte for byte as the build does.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
package=$(scripts/package.sh "$build" | tail -n 1)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Lintian's informational tags (hardening hints, the help pages outside /usr/share/doc) are not faults.
lintian --fail-on error,warning "$package" 2> >(grep -v 'running with root privileges' >&2)

dpkg -x "$package" "$scratch/root"
share="$scratch/root/usr/share"
desktop-file-validate "$share/applications/org.kelvano.Kelvano.desktop"
appstreamcli validate --no-net "$share/metainfo/org.kelvano.Kelvano.metainfo.xml" >/dev/null
pages=()
for page in kelvano.1 kelvano-publish.1; do
    pages+=("$share/man/man1/$page.gz" "$share/man/ja/man1/$page.gz")
done
for file in "$share/icons/hicolor/scalable/apps/org.kelvano.Kelvano.svg" "$share/kelvano/help/index.html" \
    "${pages[@]}" "$share/doc/kelvano/copyright" "$share/doc/kelvano/changelog.gz"; do
    [ -f "$file" ] || { echo "missing from the package: ${file#"$scratch/root"}" >&2; exit 1; }
done
# Every page formats without a warning (a line that cannot be broken or adjusted, a bad request or
# escape), and the Japanese ones are Japanese text in UTF-8.
for page in "${pages[@]}"; do
    warnings=$(zcat "$page" | preconv -e UTF-8 | groff -ww -man -Tutf8 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "${page#"$share/"}: $warnings" >&2; exit 1; }
    if [[ $page == */ja/* ]] && ! zcat "$page" | grep -q '^\.SH 名前$'; then
        echo "${page#"$share/"}: not a Japanese page (no 名前 section)" >&2
        exit 1
    fi
done
packaged_version=$(dpkg-deb -f "$package" Version)
changelog_version=$(zcat "$share/doc/kelvano/changelog.gz" | dpkg-parsechangelog -l - -S Version)
if [ "$changelog_version" != "$packaged_version" ]; then
    echo "packaging/changelog's latest entry is $changelog_version, the package is $packaged_version" >&2
    exit 1
fi
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
