#!/usr/bin/env bash
# The capture path on a real headless sway with two outputs (scale 1 at 0,0; scale 2 at
# 1280,0), as a user drives it: `glintext capture` opens the frozen, dimmed desktop with one
# full-screen window on each output; a drag with the seat's pointer cuts the selection out
# of the dim and reads the text under it at the output's own resolution; another client
# pastes the text once the overlay is gone. Escape cancels without touching the clipboard,
# a second `glintext capture` while the overlay is open changes nothing. No bar runs, so no
# tray host: the instance still takes commands.
set -euo pipefail
source "$(dirname "$0")/lib/wayland_session.sh"

LEFT_LINES=("The quick brown fox jumps" "over the lazy dog 12345" "Glintext reads this line")
RIGHT_LINES=("Scale two text" "reads as well")
joined() { local IFS=$'\n'; echo "$*"; }

start_sway_desktop
write_defaults '{"onboardingCompleted": true}'
# As a GNOME session's environment says it, without a toolkit platform named (some Qt
# releases would go through XWayland there; here there is none): the app picks Qt's native
# wayland platform from the session type.
start_app -u QT_QPA_PLATFORM XDG_CURRENT_DESKTOP=GNOME
show_text left-text 100 120 "${LEFT_LINES[@]}"
LX=$WX LY=$WY LW=$WW LH=$WH
show_text right-text 1320 60 "${RIGHT_LINES[@]}"
RX=$WX RY=$WY RW=$WW RH=$WH
set_clipboard sentinel
screenshot desktop.png

# sway has no shortcuts portal: the log says so once, and names the commands.
hotkey_said() { [ "$(log_lines 'Hotkey: no global shortcuts on this desktop')" -ge 1 ]; }
wait_until 35 hotkey_said || fail "no log line about the missing shortcuts"
grep -q 'bind `glintext capture` and `glintext capture --hq`' "$LOG_FILE" ||
  fail "the shortcuts line does not name the commands"

# grim composes the layout at the highest scale (2): a layout point x,y is pixel 2x,2y.
at() { pixel "$SHOT_DIR/$1" $((2 * $2)) $((2 * $3)); }
# dimmed SHOT X Y: the point shows the desktop's colour there, darkened by the overlay's dim.
dimmed() {
  local before after
  IFS=, read -r -a before <<<"$(at desktop.png "$2" "$3")"
  IFS=, read -r -a after <<<"$(at "$1" "$2" "$3")"
  local i want
  for i in 0 1 2; do
    want=$((before[i] * 82 / 100))
    [ $((after[i] - want)) -ge -3 ] && [ $((after[i] - want)) -le 3 ] ||
      fail "$1 at $2,$3 is ${after[*]}, not the dimmed ${before[*]}"
  done
}
# undimmed SHOT X Y: the point shows the desktop as it is (inside the selection).
undimmed() {
  [ "$(at "$1" "$2" "$3")" = "$(at desktop.png "$2" "$3")" ] ||
    fail "$1 at $2,$3 is $(at "$1" "$2" "$3"), not the desktop's $(at desktop.png "$2" "$3")"
}

echo "# the overlay fills each output with its own window; Escape cancels"
timeout 10 "$GLINTEXT_BIN" capture || fail "glintext capture failed"
wait_overlay 2
windows=$(sway_windows '^Glintext Selection$' | cut -d'|' -f2-4 | sort)
[ "$windows" = "$(printf '%s\n' 'HEADLESS-1|0 0 1280 720|1' 'HEADLESS-2|1280 0 640 360|1')" ] ||
  fail "overlay windows: $windows"
timeout 10 "$GLINTEXT_BIN" capture --hq || fail "a second glintext capture failed"
sleep 0.3
[ "$(overlay_windows)" -eq 2 ] || fail "a second capture changed the overlay"
key -k Escape
wait_overlay_closed
clipboard_is sentinel || fail "Escape changed the clipboard to '$(clipboard)'"

echo "# three lines on the scale-1 output"
timeout 10 "$GLINTEXT_BIN" capture || fail "glintext capture failed"
wait_overlay 2
sleep 0.3 # both windows drawn
drag $((LX + 8)) $((LY + 6)) $((LX + LW - 8)) $((LY + LH - 4)) overlay-left.png
wait_overlay_closed
wait_until 15 clipboard_is "$(joined "${LEFT_LINES[@]}")" ||
  fail "clipboard holds '$(clipboard)' instead of the left lines"
grep -q "Capture: $((LW - 16))x$((LH - 10))px from $((LW - 16))x$((LH - 10))pt" "$LOG_FILE" ||
  fail "no Capture line with equal pixels and points on the scale-1 output"
undimmed overlay-left.png $((LX + LW - 12)) $((LY + LH - 8))
dimmed overlay-left.png $((LX + 3)) $((LY + 3))
dimmed overlay-left.png 600 600
dimmed overlay-left.png $((RX + RW - 4)) $((RY + RH - 4))
dimmed overlay-left.png 1900 350

echo "# two lines on the scale-2 output, read at its resolution"
sleep 2 # the toast of the last capture is gone, so it is not frozen into this one
timeout 10 "$GLINTEXT_BIN" capture || fail "glintext capture failed"
wait_overlay 2
sleep 0.3
drag $((RX + 6)) $((RY + 6)) $((RX + RW - 6)) $((RY + RH - 4)) overlay-right.png
wait_overlay_closed
wait_until 15 clipboard_is "$(joined "${RIGHT_LINES[@]}")" ||
  fail "clipboard holds '$(clipboard)' instead of the right lines"
grep -q "Capture: $((2 * (RW - 12)))x$((2 * (RH - 10)))px from $((RW - 12))x$((RH - 10))pt" \
  "$LOG_FILE" || fail "no Capture line with twice the points in pixels on the scale-2 output"
undimmed overlay-right.png $((RX + RW - 12)) $((RY + RH - 8))
dimmed overlay-right.png $((RX + 2)) $((RY + 2))
dimmed overlay-right.png $((LX + 3)) $((LY + LH - 3))
dimmed overlay-right.png 1900 350
[ "$(log_lines 'Hotkey: ')" -eq 1 ] || fail "the shortcuts line was written more than once"

echo "# without any tray host the instance runs and takes commands"
timeout 10 "$GLINTEXT_BIN" settings || fail "glintext settings did not reach the instance"
kill -0 "$APP_PID" || fail "the instance went away"
echo "PASS"
