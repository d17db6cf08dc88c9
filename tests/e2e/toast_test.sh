#!/usr/bin/env bash
# The toast on a real X server with a window manager, with and without a compositor: it
# shows above the window under it, lets clicks through to that window, leaves the focus
# where it was, and has no black corners. Screenshots go to $GLINTEXT_ARTIFACTS (or a
# temporary folder) for a person to look at.
set -euo pipefail

demo=${GLINTEXT_TOAST_DEMO:-}
[ -n "$demo" ] && [ -x "$demo" ] || { echo "toast_demo not built"; exit 77; }
source "$(dirname "$0")/lib/desktop.sh"
require_tools Xvfb openbox xmessage xprop xdotool convert import

pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }

start_desktop 1280x800 +extension Composite

target_colour="srgb(42,127,98)"

# $1 name, $2 expected translucent flag, $3 expected horizontal centre of the toast
scenario() {
  local name=$1 expect=$2 centre=$3 out="$work/$1.out"
  "$demo" "Copied 42 characters" 20 >"$out" 2>"$work/$name.err" &
  local demo_pid=$!
  pids+=("$demo_pid")
  local target toast
  target=$(await_line '^target ' 100 "$out") || fail "$name: demo window never came up"
  toast=$(await_line '^toast ' 50 "$out") || fail "$name: no toast"
  local id x y w h flag
  read -r _ id <<<"$target"
  read -r _ x y w h flag <<<"$toast"
  [ "$flag" = "translucent=$expect" ] || fail "$name: expected translucent=$expect, got $flag"
  local cx=$((x + w / 2)) cy=$((y + h / 2))
  [ $((cx - centre)) -le 1 ] && [ $((centre - cx)) -le 1 ] ||
    fail "$name: toast centred at $cx, expected $centre"
  [ $((y + h)) -eq $((800 - 120)) ] || fail "$name: toast bottom at $((y + h))"
  [ "$(xdotool getactivewindow)" = "$id" ] || fail "$name: the demo window is not active"

  sleep 0.6 # fade-in done, compositor caught up
  import -window root "$shots/toast-$name.png"
  # Inside the capsule the toast covers the window; at its corner the window shows through.
  local inside corner
  inside=$(pixel "$shots/toast-$name.png" $((x + w / 2)) $((y + 3)))
  corner=$(pixel "$shots/toast-$name.png" "$x" "$y")
  [ "$inside" != "$target_colour" ] || fail "$name: toast not visible above the window"
  [ "$corner" = "$target_colour" ] || fail "$name: corner outside the capsule is $corner"
  echo "$name: toast ${w}x${h}+${x}+${y}, body $inside, corner $corner"

  # A click on the toast reaches the window below, and the focus stays there.
  xdotool mousemove "$cx" "$cy" click 1
  await_line "^click $cx $cy\$" 30 "$out" >/dev/null ||
    fail "$name: the click on the toast did not reach the window below: $(grep click "$out" || true)"
  [ "$(xdotool getactivewindow)" = "$id" ] || fail "$name: the toast took the focus"
  kill "$demo_pid" 2>/dev/null || true
  wait "$demo_pid" 2>/dev/null || true
}

xdotool mousemove 100 100
scenario plain 0 640

composited=0
if command -v xcompmgr >/dev/null; then
  composited=1
  xcompmgr -c >"$work/xcompmgr.log" 2>&1 &
  pids+=($!)
  sleep 0.5
  scenario composited 1 640
else
  echo "xcompmgr not installed: composited case not run"
fi
# Two monitors on one screen: the toast goes where the pointer is.
if command -v xrandr >/dev/null &&
  xrandr --setmonitor LEFT 640/169x800/211+0+0 screen >/dev/null 2>&1 &&
  xrandr --setmonitor RIGHT 640/169x800/211+640+0 none >/dev/null 2>&1; then
  sleep 0.3
  xdotool mousemove 1000 300
  scenario right-monitor "$composited" 960
else
  echo "xrandr monitors unavailable: pointer-screen case not run"
fi
echo "screenshots in $shots"
