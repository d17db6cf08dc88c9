#!/usr/bin/env bash
# The tray item on a StatusNotifier panel: a small watcher and host on a private session bus,
# started before the item, receives its registration, reads its icon bitmaps and tooltip,
# activates it (the left click) and drives its exported menu.
set -euo pipefail

item=${GLINTEXT_TRAY_ITEM:-}
[ -n "$item" ] && [ -x "$item" ] || { echo "tray item program not built"; exit 77; }
for tool in Xvfb dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 77; }
done
/usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null || { echo "missing python3-gi"; exit 77; }
watcher="$(dirname "$0")/tray_sni_watcher.py"

# A private bus, so that only our watcher is there when the item starts.
if [ -z "${TRAY_SNI_PRIVATE_BUS:-}" ]; then
  TRAY_SNI_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  for log in "$work"/*.out; do echo "== $log"; cat "$log"; done
  exit 1
}
await_line() {
  local pattern=$1 tries=$2 file=$3 line
  for _ in $(seq "$tries"); do
    line=$(grep -m1 -E "$pattern" "$file" 2>/dev/null || true)
    [ -n "$line" ] && { echo "$line"; return 0; }
    sleep 0.1
  done
  return 1
}

Xvfb -displayfd 3 -screen 0 640x400x24 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 77; }
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb HOME="$work/home" \
  XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"

/usr/bin/python3 "$watcher" >"$work/watcher.out" 2>&1 &
pids+=($!)
await_line '^watcher ready' 50 "$work/watcher.out" >/dev/null || fail "watcher did not start"

"$item" >"$work/item.out" 2>"$work/item.err" &
pids+=($!)
await_line '^registered ' 100 "$work/watcher.out" >/dev/null || fail "the item never registered"
await_line '^tray available=1' 50 "$work/item.out" >/dev/null || fail "the item saw no tray"

icon=$(await_line '^icon ' 50 "$work/watcher.out") || fail "no icon bitmaps"
for size in 16x16 22x22 32x32; do
  grep -q " $size" <<<"$icon" || fail "no $size bitmap: $icon"
done
opaque=$(sed -E 's/.*opaque=([0-9]+).*/\1/' <<<"$icon")
[ "$opaque" -ge 100 ] || fail "the bitmaps are empty: $icon"
grep -qx 'tooltip Glintext' "$work/watcher.out" || fail "tooltip is not Glintext"

await_line '^capture highAccuracy=false' 50 "$work/item.out" >/dev/null ||
  fail "activation did not start a capture"

menu=$(await_line '^menu ' 50 "$work/watcher.out") || fail "no menu layout"
await_line '^menu shown' 10 "$work/item.out" >/dev/null || fail "menu not rebuilt on opening"
# Two captures, a separator, settings, guide, about, a separator, quit; shortcut hints.
shape=$(/usr/bin/python3 -c 'import json, sys
m = json.loads(sys.argv[1][5:])
print(" ".join(e["type"] for e in m), json.dumps(m[0]["shortcut"]), json.dumps(m[-1]["shortcut"]))' \
  "$menu")
expected='standard standard separator standard standard standard separator standard'
expected+=' [["Control", "Shift", "2"]] [["Control", "Q"]]'
[ "$shape" = "$expected" ] || fail "menu layout: $shape"

# The watcher clicked the second entry: the high-accuracy capture.
await_line '^capture highAccuracy=true' 50 "$work/item.out" >/dev/null ||
  fail "clicking the exported high-accuracy entry did nothing"
echo "PASS: registered, icon $icon, menu as expected, activation and menu click captured"
