#!/usr/bin/env bash
# appcast-item.sh PACKAGE.deb DOWNLOAD_URL: prints the update feed's item for a package, as
# JSON in the form the feed's item list takes (the reference service's --appcast file, say):
# the version, the download link of the .deb at DOWNLOAD_URL, its size and release date.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 PACKAGE.deb DOWNLOAD_URL" >&2; exit 2; }
deb=$1
url=$2
case $url in
  *[\"\\[:space:]]*) echo "$0: quotes, backslashes and spaces do not belong in the link" >&2; exit 2 ;;
  https://*.deb | http://127.0.0.1[:/]*.deb | http://localhost[:/]*.deb) ;;
  *) echo "$0: the download link must be an https address of the .deb" >&2; exit 2 ;;
esac
version=$(dpkg-deb -f "$deb" Version)
length=$(stat -c %s "$deb")
# The release date is the one the package's changelog gives.
date=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/glintext/changelog.gz | zcat |
  sed -n 's/^ -- .*>  //p' | head -1)
[ -n "$date" ] || { echo "$0: $deb has no changelog date" >&2; exit 1; }
printf '{"items": [{"title": "Glintext %s", "version": "%s", "shortVersionString": "%s", ' \
  "$version" "$version" "$version"
printf '"url": "%s", "length": %s, "pubDate": "%s"}]}\n' "$url" "$length" "$date"
