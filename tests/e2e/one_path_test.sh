#!/usr/bin/env bash
# One path: what a capture copies is what `glintext recognize` prints for the saved image of
# that capture (tester mode's debug copy), at scale 1 and 2, for a tall settings page that
# is read in two bands and a dark panel beside it.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"

page="$E2E_DIR/settings.png"
labels=("Keep daily copies for" "Compress archives older than" "Upload over metered links"
  "Verify each copy after writing" "Notify me when a backup fails" "Exclude caches"
  "Encrypt with the saved passphrase" "Start at login" "Show the progress in the tray")
values=("14 days" "3 months" "Never" "Always" "Yes" "Yes" "No" "On" "Off")
args=(-fill '#f0f0f0' -draw 'rectangle 560,0 760,700' -fill '#222222')
y=70
for i in "${!labels[@]}"; do
  args+=(-pointsize 17 -annotate "+24+$y" "${labels[$i]}" -annotate "+400+$y" "${values[$i]}")
  y=$((y + 58))
done
convert -size 760x600 xc:'#fafafa' -font DejaVu-Sans "${args[@]}" \
  -fill '#303034' -draw 'rectangle 560,0 760,600' -fill '#e8e8e8' -pointsize 15 \
  -annotate +580+70 'General' -annotate +580+128 'Backups' -annotate +580+186 'Network' \
  -annotate +580+244 'Privacy' "$page"

check_scale() {
  local scale=$1
  start_app QT_SCALE_FACTOR="$scale"
  show_image "$page" "settings-$scale" 120 80
  set_clipboard "sentinel"
  xdotool key ctrl+shift+2
  wait_overlay 1
  drag $((WX + 4)) $((WY + 4)) $((WX + WW - 4)) $((WY + WH - 4)) "one-path-scale$scale.png"
  wait_overlay_closed
  wait_until 20 sh -c "! [ \"\$(xclip -o -selection clipboard 2>/dev/null)\" = sentinel ]" ||
    fail "scale $scale: nothing was copied"
  local copied printed
  copied=$(clipboard)
  [[ $copied == *"Keep daily copies for"* ]] || fail "scale $scale: the capture read '$copied'"
  [ -s "$DATA_DIR/last-capture.png" ] || fail "scale $scale: no debug copy"
  printed=$("$GLINTEXT_BIN" recognize "$DATA_DIR/last-capture.png")
  [ "$printed" = "$copied" ] || {
    diff <(echo "$copied") <(echo "$printed") || true
    fail "scale $scale: recognize on the saved capture differs from what the capture copied"
  }
  stop_app
  kill "${HELPER_PIDS[@]}" 2>/dev/null || true
  HELPER_PIDS=()
}

start_x 1280x800
write_defaults '{"onboardingCompleted": true, "testerModeEnabled": true}'
check_scale 1
check_scale 2
echo "PASS"
