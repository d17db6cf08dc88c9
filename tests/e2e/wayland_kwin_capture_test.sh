#!/usr/bin/env bash
# A capture on KDE's kwin, which hands the ordinary clipboard only to the client with the
# keyboard focus: `glintext capture` opens the overlay, a drag with the pointer selects the
# text, and once the overlay has closed another client pastes the text. kde's own Screenshot
# portal cannot take a picture headless (it asks through a Plasma dialog), so a stand-in
# portal hands the application a picture of known text; everything after it is real.
set -euo pipefail
portal=${GLINTEXT_SCREENSHOT_PORTAL:-}
[ -n "$portal" ] && [ -x "$portal" ] || { echo "SKIP: screenshot_portal not built"; exit 77; }
source "$(dirname "$0")/lib/wayland_session.sh"
wl_require wl-paste wl-copy

LINES=("Focus is not needed" "to keep this text 2468")
joined() { local IFS=$'\n'; echo "$*"; }

allow_kwin_fake_input
start_kwin 1280 720 1 1
QT_QPA_PLATFORM=offscreen "$portal" 1280 720 200 150 "${LINES[@]}" >"$E2E_DIR/portal.out" \
  2>"$E2E_DIR/portal.log" &
WL_PIDS+=($!)
wait_until 10 grep -q '^ready$' "$E2E_DIR/portal.out" || fail "the stand-in portal did not start"
read -r _ TX TY TW TH < <(grep '^text ' "$E2E_DIR/portal.out")
start_virtual_input
LAYOUT_W=1280 LAYOUT_H=720

write_defaults '{"onboardingCompleted": true}'
start_app
set_clipboard sentinel
taken() { [ "$(grep -c '^taken$' "$E2E_DIR/portal.out")" -ge "$1" ]; }

echo "# the text is on the clipboard for another client after the overlay closed"
timeout 10 "$GLINTEXT_BIN" capture || fail "glintext capture failed"
wait_until 10 taken 1 || fail "the application asked for no picture"
sleep 1.5 # the overlay is mapped and drawn
# Nothing headless tells when kwin has mapped the overlay; on a loaded machine the first drag
# may come before it, and then the overlay is still open for a second one.
for attempt in 1 2; do
  drag $((TX - 12)) $((TY - 10)) $((TX + TW + 12)) $((TY + TH + 10))
  ! wait_until 10 clipboard_is "$(joined "${LINES[@]}")" || break
  [ "$attempt" -eq 1 ] || fail "the clipboard holds '$(clipboard)' instead of the text"
done
grep -q "Capture: $((TW + 24))x$((TH + 20))px" "$LOG_FILE" || fail "no Capture line of the drag's size"

echo "# the text stays there while other clients paste, and a new copy replaces it"
sleep 1
clipboard_is "$(joined "${LINES[@]}")" || fail "the text went away: '$(clipboard)'"
set_clipboard "copied later"
kill -0 "$APP_PID" || fail "the instance went away"
echo "PASS"
