#!/usr/bin/env bash
# Quitting through a signal or the loss of the display, as a logout or `kill` does: the
# captures of the last second, still waiting for the history's delayed save, are on disk
# afterwards; the process ends at once and cleanly, also in the middle of a recognition and
# while the engines still load.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"

HISTORY="$DATA_DIR/history.json"
text_image "$E2E_DIR/text.png" "Saved before the process ends" "second line 24680"
start_x 1280x800
write_defaults '{"onboardingCompleted": true}'

# terminate SIGNAL: sends it to the app and waits; prints how long the exit took.
terminate() {
  local t0 t1 status=0
  t0=$(date +%s%N)
  kill "-$1" "$APP_PID"
  wait_until 5 sh -c "! kill -0 $APP_PID 2>/dev/null" || fail "still running 5 s after SIG$1"
  wait "$APP_PID" || status=$?
  t1=$(date +%s%N)
  APP_PID=""
  [ "$status" -eq 0 ] || fail "exit status $status after SIG$1"
  echo "  exit after SIG$1 took $(( (t1 - t0) / 1000000 )) ms"
}

capture_text() {
  xdotool key ctrl+shift+2
  wait_overlay 1
  drag $((WX + 8)) $((WY + 6)) $((WX + WW - 40)) $((WY + WH - 4))
  wait_overlay_closed
}

# capture_and_wait: one capture, recorded in memory and not yet saved (the save waits 1 s).
capture_and_wait() {
  rm -f "$HISTORY" "$LOG_FILE"
  capture_text
  wait_until 10 sh -c "grep -q 'OCR: copied' '$LOG_FILE'" || fail "no capture"
  sleep 0.3
  [ ! -f "$HISTORY" ] || fail "the history was saved before the delay ran out; the test proves nothing"
}

history_holds_the_capture() {
  grep -q "Saved before the process ends" "$HISTORY" || fail "the capture is not in history.json"
  [ "$(find "$DATA_DIR" -name '*.saving' | wc -l)" -eq 0 ] || fail "a half-written file is left"
}

echo "# the instance runs under its own name, for ps, pgrep and the desktop's process lists"
start_app
pgrep -x glintext | grep -qx "$APP_PID" || fail "pgrep -x glintext does not find the instance ($(ps -o comm= -p "$APP_PID"))"
stop_app

show_image "$E2E_DIR/text.png" helper-text 100 100
for signal in TERM HUP; do
  echo "# SIG$signal 0.3 s after a capture: the history is written on the way out"
  start_app
  capture_and_wait
  terminate "$signal"
  history_holds_the_capture
done

echo "# the X server goes away 0.3 s after a capture (a logout): the history is written"
start_app
capture_and_wait
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=""
wait_until 5 sh -c "! kill -0 $APP_PID 2>/dev/null" || fail "still running 5 s after the display went"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""
history_holds_the_capture
start_x 1280x800
show_image "$E2E_DIR/text.png" helper-text 100 100

echo "# SIGINT in the middle of a recognition"
start_app
capture_text
terminate INT

echo "# SIGTERM while the engines are still loading"
start_app
terminate TERM
echo "PASS"
