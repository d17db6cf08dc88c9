#!/usr/bin/env bash
# The tray item in a real X tray (trayer, started before the item so that Qt docks into it):
# the icon docks and is drawn, a left click starts a capture, a right click opens the menu,
# Escape closes it and a left click captures again; without the permission the red dot
# shows; at scale 2 the icon is drawn at full size. Screenshots go to $GLINTEXT_ARTIFACTS (or a temporary
# folder) for a person to look at.
set -euo pipefail

item=${GLINTEXT_TRAY_ITEM:-}
[ -n "$item" ] && [ -x "$item" ] || { echo "tray item program not built"; exit 77; }
source "$(dirname "$0")/lib/desktop.sh"
require_tools Xvfb openbox xmessage xprop trayer xdotool xwininfo convert import dbus-run-session

fail() {
  echo "FAIL: $*"
  for log in "$work"/*.out; do echo "== $log"; cat "$log"; done
  exit 1
}

count_lines() { grep -c -E "$1" "$2" 2>/dev/null || true; }

# Pixels of image $1 within 25% of colour $2.
count_colour() {
  convert "$1" -alpha off -fuzz 25% -transparent "$2" -alpha extract -negate \
    -format "%[fx:int(mean*w*h+0.5)]" info:
}

start_desktop 640x400

red="#ff3b30"
tray_pid="" item_pid=""

# $1 name, $2 scale; the rest are options for the tray item.
start() {
  local name=$1 scale=$2
  shift 2
  trayer --edge top --align right --widthtype request --height $((24 * scale)) \
    --SetDockType true --transparent false >"$work/trayer-$name.out" 2>&1 &
  tray_pid=$!
  pids+=("$tray_pid")
  for _ in $(seq 50); do xwininfo -root -tree | grep -q '"panel"' && break; sleep 0.1; done
  # Its own session bus, without a StatusNotifier watcher, so Qt docks into the X tray.
  dbus-run-session -- sh -c 'echo $$ >"$0"; exec env QT_SCALE_FACTOR="$1" "$2" "$@"' \
    "$work/$name.pid" "$scale" "$item" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  pids+=($!)
  await_line '^tray available=' 100 "$work/$name.out" >/dev/null || fail "$name: item never started"
  item_pid=$(cat "$work/$name.pid")
  pids+=("$item_pid")
  grep -q '^tray available=1' "$work/$name.out" || fail "$name: no system tray seen"
}

stop() {
  kill "$item_pid" "$tray_pid" 2>/dev/null || true
  for _ in $(seq 30); do kill -0 "$item_pid" 2>/dev/null || break; sleep 0.1; done
}

# Geometry "w h x y" of the docked icon window of WM class $1.
icon_geometry() {
  local line
  for _ in $(seq 100); do
    line=$(xwininfo -root -tree | grep "(\"${1:-glintext_tray_item}\"" | grep -v '1x1+' | head -1 || true)
    [ -n "$line" ] && break
    sleep 0.1
  done
  [ -n "$line" ] || return 1
  sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2 \3 \4/' <<<"$line"
}

# Screenshot of the icon only: $1 file.
shoot_icon() {
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
}

# --- scale 1: docking, clicks and the menu --------------------------------------------------
start normal 1 --history
read -r w h x y < <(icon_geometry) || fail "normal: icon window not docked"
cx=$((x + w / 2)) cy=$((y + h / 2))
sleep 0.3
shoot_icon "$shots/tray-icon-1x.png"
dark=$(count_colour "$shots/tray-icon-1x.png" black)
[ "$dark" -ge 20 ] || fail "normal: icon not drawn ($dark dark pixels)"
[ "$(count_colour "$shots/tray-icon-1x.png" "$red")" -eq 0 ] || fail "normal: red dot without cause"

# The capture starts once the button is up, so the selection that opens never sees the
# release of the click that opened it.
xdotool mousemove "$cx" "$cy" mousedown 1
sleep 0.4
[ "$(count_lines '^capture' "$work/normal.out")" -eq 0 ] || fail "normal: captured while held"
xdotool mouseup 1
await_line '^capture highAccuracy=false buttons=0$' 30 "$work/normal.out" >/dev/null ||
  fail "normal: a left click did not start a capture"

xdotool mousemove "$cx" "$cy" click 3
await_line '^menu shown' 30 "$work/normal.out" >/dev/null || fail "normal: no menu on right click"
sleep 0.4
import -window root "$work/menu-full.png"
menu=$(xwininfo -root -tree | grep '("glintext_tray_item"' | grep -v '1x1+' |
  grep -v " ${w}x${h}+" | head -1 || true)
[ -n "$menu" ] || fail "normal: menu window not on screen"
read -r mw mh mx my < <(sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2 \3 \4/' <<<"$menu")
convert "$work/menu-full.png" -crop "$((mw + 8))x$((mh + y + h + 4))+$((mx - 8 < 0 ? 0 : mx - 8))+0" \
  +repage "$shots/tray-menu.png"
[ "$(count_lines '^capture' "$work/normal.out")" -eq 1 ] || fail "normal: the right click captured"

xdotool key Escape
await_line '^menu hidden' 30 "$work/normal.out" >/dev/null || fail "normal: Escape left the menu open"
xdotool mousemove "$cx" "$cy" click 1
for _ in $(seq 30); do [ "$(count_lines '^capture' "$work/normal.out")" -ge 2 ] && break; sleep 0.1; done
[ "$(count_lines '^capture' "$work/normal.out")" -eq 2 ] ||
  fail "normal: after the menu closed a left click did not capture"
stop
echo "scale 1: docked ${w}x${h}, click captures, menu ${mw}x${mh}"

# --- the other pictures: badged at scale 1, both at scale 2 --------------------------------
# $1 name, $2 scale, $3 least dark pixels, $4 least red pixels, then the item's options.
picture() {
  local name=$1 scale=$2 min_dark=$3 min_red=$4
  shift 4
  start "$name" "$scale" "$@"
  read -r w h x y < <(icon_geometry) || fail "$name: icon window not docked"
  sleep 0.5
  shoot_icon "$shots/tray-icon-$name.png"
  local dark red_px
  dark=$(count_colour "$shots/tray-icon-$name.png" black)
  red_px=$(count_colour "$shots/tray-icon-$name.png" "$red")
  [ "$dark" -ge "$min_dark" ] || fail "$name: icon not drawn in full ($dark dark pixels)"
  [ "$red_px" -ge "$min_red" ] || fail "$name: no red dot ($red_px red pixels)"
  [ "$min_red" -gt 0 ] || [ "$red_px" -eq 0 ] || fail "$name: red dot without cause"
  stop
  echo "$name: ${w}x${h}, $dark dark and $red_px red pixels"
}
picture badged-1x 1 20 15 --permission-missing
picture 2x 2 150 0
picture badged-2x 2 150 60 --permission-missing

# --- the application itself: a click on its tray item opens the selection ------------------
if [ -n "${GLINTEXT_BIN:-}" ] && [ -x "$GLINTEXT_BIN" ]; then
  mkdir -p "$HOME/.config/Glintext" "$work/run"
  chmod 700 "$work/run"
  echo '{"onboardingCompleted": true}' >"$HOME/.config/Glintext/defaults.json"
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false >"$work/trayer-app.out" 2>&1 &
  tray_pid=$!
  pids+=("$tray_pid")
  for _ in $(seq 50); do xwininfo -root -tree | grep -q '"panel"' && break; sleep 0.1; done
  XDG_RUNTIME_DIR="$work/run" dbus-run-session -- sh -c 'echo $$ >"$0"; exec "$1"' \
    "$work/app.pid" "$GLINTEXT_BIN" >"$work/app.out" 2>&1 &
  pids+=($!)
  read -r w h x y < <(icon_geometry glintext) || fail "app: its tray item never docked"
  item_pid=$(cat "$work/app.pid")
  pids+=("$item_pid")
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  selection=""
  for _ in $(seq 30); do
    selection=$(xwininfo -root -tree | grep '"Glintext Selection"' || true)
    [ -n "$selection" ] && break
    sleep 0.1
  done
  [ -n "$selection" ] || fail "app: a click on the tray item opened no selection"
  sleep 0.5 # still open once the click is over
  [ "$(xwininfo -root -tree | grep -c '"Glintext Selection"' || true)" -ge 1 ] ||
    fail "app: the selection closed by itself"
  xdotool key Escape
  stop
  echo "app: tray item docked, a click opened the selection"
fi

echo "PASS (screenshots in $shots)"
