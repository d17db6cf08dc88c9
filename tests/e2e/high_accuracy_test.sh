#!/usr/bin/env bash
# A high-accuracy capture end to end, signed in: Ctrl+Alt+Shift+2 over two columns of text
# puts the on-device text on the clipboard at once; the reference service's reading (held
# back a few seconds here, so the order shows) then replaces it on the clipboard and in the
# history, column by column, and the toast says so. The account comes from the service's
# test controls and sits in the session's keyring, as a browser sign-in leaves it.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"
source "$(dirname "$0")/lib/cloud_session.sh"
for tool in curl secret-tool gnome-keyring-daemon; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

SCHEMA=io.glintext.Glintext
HISTORY="$DATA_DIR/history.json"
store_item() {
  printf '%s' "$2" | secret-tool store --label="Glintext: $1" xdg:schema "$SCHEMA" account "$1"
}
json_member() { sed -n "s/.*\"$1\":\"\([^\"]*\)\".*/\1/p"; }

echo "# a keyring, the reference service and an account of it in the keyring"
start_session_keyring
start_reference_service
export GLINTEXT_SERVICE_URL="$SERVICE"
ACCOUNT=$(curl -fsS -H 'Content-Type: application/json' \
  -d '{"email":"hq@example.org","tier":"pro"}' "$SERVICE/test/accounts")
TOKEN=$(json_member token <<<"$ACCOUNT")
[ -n "$TOKEN" ] || fail "the service made no account: $ACCOUNT"
store_item cloudToken "$TOKEN"
store_item cloudEmail hq@example.org
store_item cloudTier pro

echo "# two columns of a few lines, as a user selects them from an article"
WEST=("West bank sentences are written" "here in the first column and" "continue down it for a while"
  "before the reader turns to the" "second column on the right side")
EAST=("East bank sentences follow the" "first column once it has ended" "and these lines are read only"
  "after every line of the left" "column has been read in order")
args=()
for i in 0 1 2 3 4; do
  args+=(-annotate "+30+$((60 + i * 36))" "${WEST[$i]}" -annotate "+500+$((60 + i * 36))" "${EAST[$i]}")
done
convert -size 930x240 xc:white -font DejaVu-Sans -pointsize 20 -fill '#151515' "${args[@]}" \
  "$E2E_DIR/columns.png"

start_x 1280x800
write_defaults '{"onboardingCompleted": true}'
start_app
show_image "$E2E_DIR/columns.png" helper-columns 100 120
set_clipboard "sentinel"
# The real reading, four seconds late: time enough to see the local text first.
curl -fsS -H 'Content-Type: application/json' -d '{"path":"/api/ocr","delayMs":4000}' \
  "$SERVICE/test/answers" >/dev/null

echo "# Ctrl+Alt+Shift+2: the local text at once"
xdotool key ctrl+alt+shift+2
wait_overlay 1
drag $((WX + 4)) $((WY + 4)) $((WX + WW - 4)) $((WY + WH - 4))
wait_overlay_closed
not_sentinel() { ! clipboard_is "sentinel" && [ -n "$(clipboard)" ]; }
wait_until 10 not_sentinel || fail "the local text never reached the clipboard"
LOCAL=$(clipboard)
[ "$(log_lines 'CloudOCR: requesting')" -eq 1 ] || fail "the service was not asked"
[ "$(log_lines 'CloudOCR: refined')" -eq 0 ] || fail "the cloud answered before the delay"
[[ $LOCAL == *West* && $LOCAL == *East* ]] || fail "the local text is '$LOCAL'"
import -window root "$SHOT_DIR/hq-working.png"

echo "# then the service's reading, column by column"
wait_until 20 sh -c "grep -q 'CloudOCR: refined' '$LOG_FILE'" || fail "no refined reading"
sleep 0.3
CLOUD=$(clipboard)
import -window root "$SHOT_DIR/hq-updated.png"
[ "$(curl -fsS "$SERVICE/test/received?path=/api/ocr" | grep -o '"auth":"valid"' | wc -l)" = 1 ] ||
  fail "the reading was not asked for with the account's token"
chars=$(printf '%s' "$CLOUD" | python3 -c 'import sys; print(len(sys.stdin.read()))')
grep -q "CloudOCR: refined $chars chars" "$LOG_FILE" ||
  fail "the clipboard's $chars characters are not the refined reading: '$CLOUD'"
while IFS= read -r line; do
  [[ $line == *West* && $line == *East* ]] && fail "a line joins the columns: '$line'"
done <<<"$CLOUD"
last_west=$(grep -n 'column on the right side' <<<"$CLOUD" | cut -d: -f1)
first_east=$(grep -n 'East bank' <<<"$CLOUD" | cut -d: -f1)
[ -n "$last_west" ] && [ -n "$first_east" ] && [ "$last_west" -lt "$first_east" ] ||
  fail "the columns are not one after the other: '$CLOUD'"
history_has_cloud() {
  python3 - "$HISTORY" "$CLOUD" <<'PY'
import json, sys
items = json.load(open(sys.argv[1]))
sys.exit(0 if len(items) == 1 and items[0]["text"] == sys.argv[2] else 1)
PY
}
wait_until 3 history_has_cloud || fail "the history entry was not replaced by the reading"
echo "local: $(tr '\n' '|' <<<"$LOCAL")"
echo "cloud: $(tr '\n' '|' <<<"$CLOUD")"
echo "PASS"
