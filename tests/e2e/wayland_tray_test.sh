#!/usr/bin/env bash
# The tray on sway: the item registers with swaybar's StatusNotifier host, which draws the
# icon in its bar (a light bar here: the icon takes the toolkit's text colour, dark without
# a desktop theme). The bar's picture goes to the artifacts.
set -euo pipefail
source "$(dirname "$0")/lib/wayland_session.sh"

start_sway "${SWAY_OUTPUTS[@]}" "bar {
  position top
  status_command while :; do echo status; sleep 60; done
  tray_output *
  colors {
    background #dddddd
  }
}"
start_portals
write_defaults '{"onboardingCompleted": true}'
start_app

registered() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
    string:RegisteredStatusNotifierItems 2>/dev/null | grep -q StatusNotifierItem
}
wait_until 10 registered || fail "the item did not register with swaybar's watcher"
sleep 1 # swaybar reads the item and draws
screenshot bar.png
# The bar is 2x on the right output; its last 40 pixels hold the tray. Dark pixels there are
# the icon's strokes (the bar is light, the status text sits left of the tray).
dark=$(convert "$SHOT_DIR/bar.png" -crop 44x40+3790+0 -colorspace Gray -threshold 40% \
  -negate -format '%[fx:int(mean*w*h)]' info:)
[ "$dark" -ge 20 ] || fail "no icon in the tray (only $dark dark pixels)"

echo "# a command reaches the instance"
timeout 10 "$GLINTEXT_BIN" settings || fail "glintext settings did not reach the instance"
kill -0 "$APP_PID" || fail "the instance went away"
echo "PASS"
