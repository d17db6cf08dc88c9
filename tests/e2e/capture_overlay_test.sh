#!/usr/bin/env bash
# The selection overlay on a real X server: shortcut and command line open it, Escape and a
# tiny drag cancel without touching the clipboard, a second shortcut while it is open does
# nothing, and the grabbed image has the right size at scale 1, at scale 2 and on two
# screens.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"

start_x 1920x1080
write_defaults '{"onboardingCompleted": true}'
start_app
text_image "$E2E_DIR/text.png" "The quick brown fox jumps" "over the lazy dog 12345"
show_image "$E2E_DIR/text.png" helper-text 200 150
set_clipboard "sentinel-1"

echo "# Escape cancels"
xdotool key ctrl+shift+2
wait_overlay 1
xdotool key Escape
wait_overlay_closed
clipboard_is "sentinel-1" || fail "Escape changed the clipboard"

echo "# a 3-pixel drag cancels"
xdotool key ctrl+shift+2
wait_overlay 1
drag $((WX + 50)) $((WY + 50)) $((WX + 53)) $((WY + 53))
wait_overlay_closed
clipboard_is "sentinel-1" || fail "a 3-pixel drag changed the clipboard"
[ "$(log_lines 'Capture: ')" -eq 0 ] || fail "a cancelled selection was captured"

echo "# a second shortcut while open changes nothing"
xdotool key ctrl+shift+2
wait_overlay 1
first=$(xdotool search --onlyvisible --name '^Glintext Selection$' | sort)
xdotool key ctrl+shift+2
sleep 0.3
xdotool key ctrl+alt+shift+2
sleep 0.3
[ "$(xdotool search --onlyvisible --name '^Glintext Selection$' | sort)" = "$first" ] ||
  fail "the second shortcut changed the overlay"
xdotool key Escape
wait_overlay_closed

echo "# a plain second start exits at once and leaves the instance alone"
timeout 10 "$GLINTEXT_BIN" || fail "a second glintext did not exit cleanly"
kill -0 "$APP_PID" || fail "the instance went away"

echo "# glintext capture from a second process opens the overlay; scale 1"
timeout 10 "$GLINTEXT_BIN" capture || fail "glintext capture failed"
wait_overlay 1
drag $((WX + 10)) $((WY + 8)) $((WX + 610)) $((WY + 128)) overlay-scale1.png
wait_overlay_closed
wait_until 5 sh -c "grep -q 'Capture: 600x120px from 600x120pt' '$LOG_FILE'" ||
  fail "no 600x120 capture line at scale 1"

echo "# scale 2: the image has twice the points"
stop_app
start_app QT_SCALE_FACTOR=2
timeout 10 "$GLINTEXT_BIN" capture || fail "glintext capture failed at scale 2"
wait_overlay 1
# xdotool moves in device pixels: 600 x 300 of them are 300 x 150 points.
drag $((WX + 10)) $((WY + 8)) $((WX + 610)) $((WY + 308)) overlay-scale2.png
wait_overlay_closed
wait_until 5 sh -c "grep -q 'Capture: 600x300px from 300x150pt' '$LOG_FILE'" ||
  fail "no 600x300px from 300x150pt line at scale 2"

echo "# two screens: started on the first, centred on the second"
stop_app
xrandr --setmonitor LEFT 960/254x1080/286+0+0 screen >/dev/null
xrandr --setmonitor RIGHT 960/254x1080/286+960+0 none >/dev/null
start_app
xdotool key ctrl+shift+2
wait_overlay 2
drag 900 200 1500 400 overlay-two-screens.png
wait_overlay_closed
# Clipped to the second screen: 540 of the 600 points are on it.
wait_until 5 sh -c "grep -q 'Capture: 540x200px from 600x200pt' '$LOG_FILE'" ||
  fail "the two-screen selection was not clipped to the screen holding its centre"
echo "PASS"
