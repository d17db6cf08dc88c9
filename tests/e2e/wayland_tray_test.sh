#!/usr/bin/env bash
# The tray on sway: the item registers with swaybar's StatusNotifier host, which draws the
# icon in its bar. On swaybar's default black bar the icon is light; when the bar turns light
# (the configuration changed and sway reloaded) the icon follows and turns dark. Without sway's
# IPC the icon takes the toolkit's dark text, and its light edge keeps it visible on the dark
# bar. The bar's pictures go to the artifacts.
set -euo pipefail
source "$(dirname "$0")/lib/wayland_session.sh"

bar_config() {
  echo "bar {
  position top
  status_command while :; do echo status; sleep 60; done
  tray_output *
  colors {
    $1
  }
}"
}

start_sway "${SWAY_OUTPUTS[@]}" "$(bar_config 'separator #666666')"
start_portals
write_defaults '{"onboardingCompleted": true}'
start_app

registered() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
    string:RegisteredStatusNotifierItems 2>/dev/null | grep -q StatusNotifierItem
}
# Pixels of the tray (the bar is 2x on the right output; its last 40 pixels hold the tray, the
# status text sits left of it) lighter than PERCENT grey, or darker with `dark`. The icon's
# strokes are near white or near black; its translucent edge lies between 30 and 70 %.
tray_pixels() {
  local negate=()
  [ "${3:-}" = dark ] && negate=(-negate)
  convert "$SHOT_DIR/$1" -crop 44x40+3790+0 -colorspace Gray -threshold "$2%" \
    "${negate[@]}" -format '%[fx:int(mean*w*h)]' info:
}

echo "# swaybar's default black bar: a light icon"
wait_until 10 registered || fail "the item did not register with swaybar's watcher"
icon_light() {
  screenshot bar-dark.png
  [ "$(tray_pixels bar-dark.png 30 dark)" -ge 1000 ] && [ "$(tray_pixels bar-dark.png 75)" -ge 20 ]
}
wait_until 10 icon_light ||
  fail "no light icon on the dark bar ($(tray_pixels bar-dark.png 75) light pixels)"

echo "# the bar turns light: the icon turns dark"
sed -i 's/separator #666666/background #dddddd/' "$E2E_DIR/sway.conf"
swaymsg reload >/dev/null
icon_dark() {
  screenshot bar-light.png
  [ "$(tray_pixels bar-light.png 70)" -ge 1000 ] && [ "$(tray_pixels bar-light.png 30 dark)" -ge 20 ]
}
wait_until 15 icon_dark ||
  fail "no dark icon on the light bar ($(tray_pixels bar-light.png 30 dark) dark pixels)"

echo "# where the bar's colours are unknown (no sway IPC), the guessed dark icon shows by its edge"
stop_app
sed -i 's/background #dddddd/separator #666666/' "$E2E_DIR/sway.conf"
swaymsg reload >/dev/null
start_app -u SWAYSOCK
edge_seen() {
  screenshot bar-guessed.png
  [ "$(tray_pixels bar-guessed.png 30 dark)" -ge 1000 ] &&
    [ $(($(tray_pixels bar-guessed.png 30) - $(tray_pixels bar-guessed.png 75))) -ge 20 ]
}
wait_until 15 edge_seen || fail "the icon cannot be seen on the dark bar without the bar's colours"

echo "# a command reaches the instance"
timeout 10 "$GLINTEXT_BIN" settings || fail "glintext settings did not reach the instance"
kill -0 "$APP_PID" || fail "the instance went away"
echo "PASS"
