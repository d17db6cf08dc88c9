#!/usr/bin/env bash
# check_install.sh BUILD_DIR: installs the build into a scratch folder (DESTDIR) and checks
# what a desktop finds there: the files in their freedesktop places, each valid for the
# tools that read it, and the man page and store listing in step with the binary.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A prefix other than the configured one, as a package build uses: nothing may keep the
# configured one.
configured=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
prefix=/opt/glintext-check
[ "$configured" != "$prefix" ] || prefix=/usr
DESTDIR="$scratch" cmake --install "$build" --prefix "$prefix" >/dev/null
root="$scratch$prefix"
bin="$root/bin/glintext"
share="$root/share"

for f in bin/glintext share/applications/glintext.desktop share/man/man1/glintext.1.gz \
  share/metainfo/io.glintext.Glintext.metainfo.xml share/dbus-1/services/io.glintext.Glintext.service \
  share/icons/hicolor/scalable/apps/glintext.svg share/doc/glintext/copyright \
  share/doc/glintext/changelog.gz; do
  [ -f "$root/$f" ] || fail "not installed: $f"
done
# The reference service and the build's helpers are not for users.
outside=$(cd "$root" && find . -type f ! -path './bin/glintext' ! -path './share/*')
[ -z "$outside" ] || fail "installed outside share/: $outside"

# Every fixed-size icon is the size its folder says.
for dir in "$share"/icons/hicolor/*x*/apps; do
  size=${dir%/apps}
  size=${size##*/}
  actual=$(file -b "$dir/glintext.png" | grep -o '[0-9]* x [0-9]*' | tr -d ' ')
  [ "$actual" = "$size" ] || fail "$dir/glintext.png is $actual"
done
[ "$(ls -d "$share"/icons/hicolor/*x* | wc -l)" -ge 6 ] || fail "too few icon sizes"

desktop="$share/applications/glintext.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/io.glintext.Glintext.metainfo.xml" ||
  fail "appstreamcli validate"

# The scheme the binary answers is the one the desktop file hands it.
scheme=$("$bin" --help | sed -n 's|^  \([a-z][a-z0-9+.-]*\)://\.\.\..*|\1|p')
[ -n "$scheme" ] || fail "no URL form in --help"
grep -q "^MimeType=.*x-scheme-handler/$scheme;" "$desktop" || fail "desktop file lacks $scheme"
grep -q '^Actions=.*capture' "$desktop" || fail "desktop file lacks the capture action"

# Bus activation starts the installed binary under the instance's bus name.
service="$share/dbus-1/services/io.glintext.Glintext.service"
grep -qx 'Name=io.glintext.Glintext' "$service" || fail "service file name"
grep -qx "Exec=$prefix/bin/glintext" "$service" || fail "service file runs $(grep Exec "$service")"

# The man page reads cleanly and names every command and option the binary has.
man_text=$(LC_ALL=C MANWIDTH=100 man --warnings -l "$share/man/man1/glintext.1.gz" 2>"$scratch/man.err")
[ ! -s "$scratch/man.err" ] || fail "man page warnings: $(cat "$scratch/man.err")"
commands=$("$bin" --help | sed -n '/^Commands:/,/^$/p' | awk 'NR > 1 && $1 !~ /:\/\// {print $1}')
[ -n "$commands" ] || fail "no commands in --help"
for word in $commands $("$bin" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -qF -- "$word" <<<"$man_text" || fail "man page does not mention $word"
done

grep -rl -- "$configured/" "$share" | grep -v '\.png$' && fail "files name $configured"

# The store listing's newest release is this binary's version, its screenshots are in docs/.
metainfo="$share/metainfo/io.glintext.Glintext.metainfo.xml"
version=$("$bin" --version | awk '{print $2}')
newest=$(grep -o '<release version="[^"]*"' "$metainfo" | head -1 | cut -d'"' -f2)
[ "$newest" = "$version" ] || fail "newest release $newest, binary $version"
zcat "$share/doc/glintext/changelog.gz" | head -1 | grep -q "^glintext ($version)" ||
  fail "changelog does not start at $version"
for shot in $(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's|.*/docs/||; s|</image>||'); do
  [ -f "$source_dir/docs/$shot" ] || fail "screenshot docs/$shot missing"
done

[ "$failures" -eq 0 ] || exit 1
echo "install layout OK"
