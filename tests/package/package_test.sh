#!/usr/bin/env bash
# package_test.sh [BUILD_DIR]: as root on a machine that has scripts/install-deps.sh's
# packages. Builds the Debian package from the build folder, checks it with lintian and the
# freedesktop validators, installs it with apt-get (offline: every dependency is already
# there), uses the installed program the way a desktop does, removes it and checks that
# nothing of it is left in /usr. The package never stays installed, also when a check fails.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing the package needs root"; exit 77; }

installed() { dpkg-query -W -f='${Status}' glintext 2>/dev/null | grep -q 'ok installed'; }
if installed; then
  echo "glintext is installed on this machine already; remove it before running this test"
  exit 1
fi

scratch=$(mktemp -d)
service=""
cleanup() {
  [ -z "$service" ] || kill "$service" 2>/dev/null || true
  if installed; then
    echo "removing the package left behind by a failed check"
    DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq glintext >/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
step() { echo "== $* ($(( $(date +%s) - started )) s)"; }
started=$(date +%s)

step "package"
rm -f "$build"/glintext_*.deb
cmake --build "$build" --target glintext glintext-data >/dev/null
(cd "$build" && cpack -G DEB >"$scratch/cpack.log") || { cat "$scratch/cpack.log"; fail "cpack"; }
debs=("$build"/glintext_*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ //'
dpkg-deb -f "$deb" Depends | grep -q 'tesseract-ocr-eng' || fail "no English language data"
dpkg-deb -f "$deb" Depends | grep -q 'libtesseract' || fail "shlibdeps did not run"
dpkg-deb -f "$deb" Suggests | grep -q 'tesseract-ocr-jpn' || fail "no suggested languages"

step "lintian"
lintian --fail-on error --tag-display-limit 0 --display-info "$deb" || fail "lintian errors"

step "validators on the packaged files"
dpkg-deb -x "$deb" "$scratch/root"
desktop-file-validate "$scratch/root/usr/share/applications/glintext.desktop" ||
  fail "desktop-file-validate"
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/io.glintext.Glintext.metainfo.xml" ||
  fail "appstreamcli validate"

step "update feed"
# The feed announces the package: the new version's download link is the .deb itself.
link="http://127.0.0.1/download/$(basename "$deb")"
bash "$source_dir/scripts/appcast-item.sh" "$deb" "$link" >"$scratch/feed.json"
service_bin="$build/tools/glintext-service/glintext-service"
cmake --build "$build" --target glintext-service >/dev/null
HOME="$scratch" "$service_bin" --port 0 --print-port --db "$scratch/service.sqlite" \
  --appcast "$scratch/feed.json" >"$scratch/port" 2>"$scratch/service.log" &
service=$!
for _ in $(seq 100); do [ -s "$scratch/port" ] && break; sleep 0.1; done
feed=$(curl -sf "http://127.0.0.1:$(head -1 "$scratch/port")/appcast.xml") || fail "no feed"
kill "$service"
service=""
grep -q "<enclosure url=\"$link\" length=\"$(stat -c %s "$deb")\"" <<<"$feed" ||
  fail "the feed does not offer the package: $feed"
grep -q "<sparkle:version>$version</sparkle:version>" <<<"$feed" || fail "feed version"

step "install"
find /usr -xdev | sort >"$scratch/usr-before"
# Offline: apt must find every dependency installed already and fetch nothing.
to_install=$(apt-get install -s "$deb" 2>/dev/null | awk '/^Inst / {print $2}')
[ "$to_install" = glintext ] || fail "installing would also fetch: $to_install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$scratch/apt.log" 2>&1 ||
  { cat "$scratch/apt.log"; fail "apt-get install"; }
installed || fail "not installed after apt-get install"

# A user's session, without the root account's own settings.
home="$scratch/home"
mkdir -p "$home"
user_env=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config"
  XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$scratch" LANG=C.UTF-8)

step "the installed program"
[ "$("${user_env[@]}" glintext --version)" = "Glintext $version" ] || fail "--version"
convert -size 700x110 xc:white -font DejaVu-Sans -pointsize 34 -fill black \
  -annotate +24+68 'Packaged text reads back' "$scratch/text.png"
read_back=$("${user_env[@]}" glintext recognize "$scratch/text.png")
[ "$read_back" = 'Packaged text reads back' ] || fail "recognize read '$read_back'"
codes=$("${user_env[@]}" glintext recognize "$source_dir/tests/e2e/data/two-codes.png")
[ "$(grep -c . <<<"$codes")" -eq 2 ] || fail "recognize found the codes '$codes'"
"${user_env[@]}" man -w glintext | grep -q '^/usr/share/man/man1/glintext.1.gz$' ||
  fail "man does not find the page"

step "scheme handler"
handler=$("${user_env[@]}" xdg-mime query default x-scheme-handler/glintext)
[ "$handler" = "glintext.desktop" ] || fail "x-scheme-handler/glintext opens '$handler'"

step "bus activation"
# A message to the bus name starts the installed program, which then owns the name.
"${user_env[@]}" QT_QPA_PLATFORM=offscreen GLINTEXT_PLATFORM=null dbus-run-session -- bash -c '
  dbus-send --session --print-reply --reply-timeout=20000 --dest=io.glintext.Glintext \
    /io/glintext/Glintext org.freedesktop.DBus.Peer.Ping >/dev/null || exit 1
  pid=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetConnectionUnixProcessID string:io.glintext.Glintext |
    awk "/uint32/ {print \$2}")
  exe=$(readlink "/proc/$pid/exe")
  kill "$pid"
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  [ "$exe" = /usr/bin/glintext ] || { echo "the bus started $exe"; exit 1; }' ||
  fail "bus activation"

step "remove"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq glintext >"$scratch/apt.log" 2>&1 ||
  { cat "$scratch/apt.log"; fail "apt-get remove"; }
installed && fail "still installed after apt-get remove"
find /usr -xdev | sort >"$scratch/usr-after"
# Caches the desktop's triggers rebuild may appear; nothing else may be new.
left=$(comm -13 "$scratch/usr-before" "$scratch/usr-after" |
  grep -v -x -e /usr/share/applications/mimeinfo.cache \
    -e /usr/share/icons/hicolor/icon-theme.cache || true)
[ -z "$left" ] || fail "left in /usr after removal: $left"
for path in $(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\.||' | grep -v '/$'); do
  [ ! -e "$path" ] || fail "$path is still there"
done
! grep -qs glintext /usr/share/applications/mimeinfo.cache || fail "the MIME cache names glintext"

step "done: $(basename "$deb")"
