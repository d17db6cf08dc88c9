#!/usr/bin/env bash
# The tray menu and toasts in French, Japanese and Russian on a real X server with a tray and a
# window manager, on a small 1024x768 screen: the menu and every toast lie wholly on screen and
# no toast text is cut. Screenshots go to $GLINTEXT_ARTIFACTS (or a temporary folder) for a
# person to look at.
set -euo pipefail

item=${GLINTEXT_TRAY_ITEM:-}
demo=${GLINTEXT_TOAST_DEMO:-}
[ -n "$item" ] && [ -x "$item" ] || { echo "tray item program not built"; exit 77; }
[ -n "$demo" ] && [ -x "$demo" ] || { echo "toast_demo not built"; exit 77; }
source "$(dirname "$0")/lib/desktop.sh"
require_tools Xvfb openbox xmessage xprop trayer xdotool xwininfo convert import dbus-run-session

width=1024 height=768
start_desktop ${width}x${height}

# Geometry "w h x y" of the first mapped window of WM class $1 matching $2 (grep -E).
window_geometry() {
  xwininfo -root -tree | grep "(\"$1\"" | grep -v '1x1+' | grep -E "$2" | head -1 |
    sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2 \3 \4/'
}

# $1 name, $2..$5 w h x y: the rectangle lies on the screen.
on_screen() {
  [ "$4" -ge 0 ] && [ "$5" -ge 0 ] && [ $(($4 + $2)) -le $width ] && [ $(($5 + $3)) -le $height ] ||
    fail "$1: ${2}x${3}+${4}+${5} is not wholly on the ${width}x${height} screen"
}

menu_in() {
  local lang=$1 out="$work/menu-$lang.out"
  trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false >"$work/trayer-$lang.out" 2>&1 &
  local tray=$!
  pids+=("$tray")
  for _ in $(seq 50); do xwininfo -root -tree | grep -q '"panel"' && break; sleep 0.1; done
  # Its own session bus, without a StatusNotifier watcher, so Qt docks into the X tray.
  dbus-run-session -- sh -c 'echo $$ >"$0"; exec "$@"' "$work/menu-$lang.pid" \
    "$item" --history --language "$lang" >"$out" 2>"$work/menu-$lang.err" &
  pids+=($!)
  await_line '^tray available=1' 100 "$out" >/dev/null || fail "$lang: tray item never docked"
  local item_pid
  item_pid=$(cat "$work/menu-$lang.pid")
  pids+=("$item_pid")
  local icon w h x y
  for _ in $(seq 100); do
    icon=$(window_geometry glintext_tray_item '.')
    [ -n "$icon" ] && break
    sleep 0.1
  done
  [ -n "$icon" ] || fail "$lang: icon window not docked"
  read -r w h x y <<<"$icon"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
  await_line '^menu shown' 30 "$out" >/dev/null || fail "$lang: no menu on right click"
  sleep 0.4
  local menu mw mh mx my
  menu=$(xwininfo -root -tree | grep '("glintext_tray_item"' | grep -v '1x1+' |
    grep -v " ${w}x${h}+" | head -1 |
    sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2 \3 \4/')
  [ -n "$menu" ] || fail "$lang: menu window not on screen"
  read -r mw mh mx my <<<"$menu"
  on_screen "$lang menu" "$mw" "$mh" "$mx" "$my"
  import -window root "$work/screen.png"
  local left=$((mx - 8 < 0 ? 0 : mx - 8))
  convert "$work/screen.png" -crop "$((width - left))x$((my + mh + 8))+${left}+0" +repage \
    "$shots/tray-menu-$lang.png"
  xdotool key Escape
  kill "$item_pid" "$tray" 2>/dev/null || true
  for _ in $(seq 30); do kill -0 "$item_pid" 2>/dev/null || break; sleep 0.1; done
  echo "$lang: menu ${mw}x${mh}+${mx}+${my}"
}

# $1 language, $2 picture name, then the demo's text arguments.
toast_in() {
  local lang=$1 name=$2 out="$work/toast-$1-$2.out"
  shift 2
  "$demo" --language "$lang" "$@" 6 >"$out" 2>"$work/toast-$lang-$name.err" &
  local pid=$!
  pids+=("$pid")
  local toast x y w h
  toast=$(await_line '^toast ' 100 "$out") || fail "$lang $name: no toast"
  read -r _ x y w h _ <<<"$toast"
  on_screen "$lang $name toast" "$w" "$h" "$x" "$y"
  await_line '^cut=0$' 10 "$out" >/dev/null || fail "$lang $name: the toast's text was cut"
  sleep 0.6 # fade-in done
  import -window root -crop "$((w + 40))x$((h + 40))+$((x - 20))+$((y - 20))" +repage \
    "$shots/toast-$lang-$name.png"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$lang $name: toast ${w}x${h}+${x}+${y}"
}

xdotool mousemove $((width / 2)) $((height / 2))
for lang in fr ja ru; do
  menu_in "$lang"
  toast_in "$lang" copied --count 1280 toast.ocrDone
  toast_in "$lang" quota toast.hqQuota
done
echo "PASS (screenshots in $shots)"
