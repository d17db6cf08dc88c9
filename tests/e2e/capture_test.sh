#!/usr/bin/env bash
# The capture path on a real X server, as a user drives it: shortcut or command line, drag,
# text on the clipboard. Escape and a tiny drag cancel without touching the clipboard, a
# second shortcut while the overlay is open does nothing; known text and two QR codes are
# read back at scale 1, at scale 2 and on two screens; the history file and the log follow.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"

LINES=("The quick brown fox jumps" "over the lazy dog 12345" "Glintext reads this line"
  "Pack my box with five" "dozen liquor jugs 67890")
EXPECTED=$(printf '%s\n' "${LINES[@]}")
EXPECTED=${EXPECTED%$'\n'}
HISTORY="$DATA_DIR/history.json"
text_image "$E2E_DIR/text.png" "${LINES[@]}"

start_x 1920x1080
write_defaults '{"onboardingCompleted": true}'
start_app
show_image "$E2E_DIR/text.png" helper-text 200 150
set_clipboard "sentinel"

echo "# Escape cancels"
xdotool key ctrl+shift+2
wait_overlay 1
xdotool key Escape
wait_overlay_closed
clipboard_is "sentinel" || fail "Escape changed the clipboard"

echo "# a 3-pixel drag cancels"
xdotool key ctrl+shift+2
wait_overlay 1
drag $((WX + 50)) $((WY + 50)) $((WX + 53)) $((WY + 53))
wait_overlay_closed
clipboard_is "sentinel" || fail "a 3-pixel drag changed the clipboard"
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

echo "# a plain second start says the instance runs, exits at once and leaves it alone"
said=$(timeout 10 "$GLINTEXT_BIN" 2>&1 >/dev/null) || fail "a second glintext did not exit cleanly"
[[ $said == *"Glintext is already running in the tray."* ]] || fail "the second start said '$said'"
kill -0 "$APP_PID" || fail "the instance went away"

echo "# five lines of text, the overlay opened from a second process"
timeout 10 "$GLINTEXT_BIN" capture || fail "glintext capture failed"
wait_overlay 1
drag $((WX + 8)) $((WY + 6)) $((WX + WW - 40)) $((WY + WH - 4)) overlay-scale1.png
wait_overlay_closed
wait_until 10 clipboard_is "$EXPECTED" ||
  fail "clipboard holds '$(clipboard)' instead of the five lines"
history_has() { grep -q -- "$1" "$HISTORY" 2>/dev/null; }
wait_until 2 history_has "Pack my box with five" ||
  fail "history.json has no entry within 2 seconds"
chars=${#EXPECTED}
grep -q "Capture: $((WW - 48))x$((WH - 10))px from $((WW - 48))x$((WH - 10))pt" "$LOG_FILE" ||
  fail "no Capture line with equal pixels and points at scale 1"
grep -q "OCR: copied $chars chars, barcodes=0" "$LOG_FILE" || fail "no 'OCR: copied $chars' line"

echo "# a selection that holds no text keeps the clipboard"
set_clipboard "kept"
xdotool key ctrl+shift+2
wait_overlay 1
drag 1300 700 1500 850
wait_overlay_closed
wait_until 5 sh -c "[ \$(grep -c 'Capture: 200x150px' '$LOG_FILE') -ge 1 ]" || fail "no capture"
sleep 1
clipboard_is "kept" || fail "an empty selection changed the clipboard to '$(clipboard)'"

echo "# only two QR codes: both payloads, one per line"
kill "${HELPER_PIDS[@]}" 2>/dev/null || true
show_image "$(dirname "$0")/data/two-codes.png" helper-codes 200 150
xdotool key ctrl+shift+2
wait_overlay 1
drag $((WX + 5)) $((WY + 5)) $((WX + WW - 5)) $((WY + WH - 5))
wait_overlay_closed
codes_ok() {
  [ "$(clipboard | sort)" = "$(printf '%s\n' GLINTEXT-SECOND-CODE-2 https://glintext.example/first)" ] &&
    [ "$(clipboard | wc -l)" -eq 1 ]
}
wait_until 10 codes_ok || fail "clipboard holds '$(clipboard)' instead of the two payloads"
grep -q "OCR: copied 53 chars, barcodes=2" "$LOG_FILE" || fail "no barcodes=2 line"

echo "# scale 2"
stop_app
kill "${HELPER_PIDS[@]}" 2>/dev/null || true
start_app QT_SCALE_FACTOR=2
show_image "$E2E_DIR/text.png" helper-text2 200 150
set_clipboard "sentinel"
xdotool key ctrl+shift+2
wait_overlay 1
w=$(( (WW - 48) / 2 * 2 )) h=$(( (WH - 10) / 2 * 2 ))
drag $((WX + 8)) $((WY + 6)) $((WX + 8 + w)) $((WY + 6 + h)) overlay-scale2.png
wait_overlay_closed
wait_until 10 clipboard_is "$EXPECTED" || fail "scale 2: clipboard holds '$(clipboard)'"
grep -q "Capture: ${w}x${h}px from $((w / 2))x$((h / 2))pt" "$LOG_FILE" ||
  fail "scale 2: no ${w}x${h}px from $((w / 2))x$((h / 2))pt line"

echo "# two screens: the selection starts on the first and is centred on the second"
stop_app
kill "${HELPER_PIDS[@]}" 2>/dev/null || true
xrandr --setmonitor LEFT 960/254x1080/286+0+0 screen >/dev/null
xrandr --setmonitor RIGHT 960/254x1080/286+960+0 none >/dev/null
start_app
show_image "$E2E_DIR/text.png" helper-text3 1000 300
set_clipboard "sentinel"
xdotool key ctrl+shift+2
wait_overlay 2
drag 900 $((WY + 6)) $((WX + WW - 40)) $((WY + WH - 4)) overlay-two-screens.png
wait_overlay_closed
wait_until 10 clipboard_is "$EXPECTED" || fail "two screens: clipboard holds '$(clipboard)'"
pt_w=$((WX + WW - 40 - 900))
grep -q "Capture: $((pt_w - 60))x$((WH - 10))px from ${pt_w}x$((WH - 10))pt" "$LOG_FILE" ||
  fail "two screens: the capture was not clipped to the second screen"
echo "# glintext capture with no instance running starts it and opens the overlay"
stop_app
"$GLINTEXT_BIN" capture >>"$E2E_DIR/app.log" 2>&1 &
APP_PID=$!
wait_overlay 2
xdotool key Escape
wait_overlay_closed
echo "PASS"
