#!/usr/bin/env bash
# The browser sign-in end to end, as a person on this desktop does it: `glintext sign-in`
# makes the running instance open the service's page in the browser (a stand-in on PATH
# that fills in the form); the page's redirect comes back through the desktop file's Exec
# line as a second process, `glintext 'glintext://auth?code=...&state=...'`, which hands it
# to the running instance; the account ends up in the session's keyring, and a restarted
# instance finds it there. No token, code or verifier reaches tester.log or any output.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"
source "$(dirname "$0")/lib/cloud_session.sh"
: "${GLINTEXT_SOURCE_DIR:?GLINTEXT_SOURCE_DIR must name the source tree}"
for tool in curl secret-tool gnome-keyring-daemon; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

SCHEMA=io.glintext.Glintext
EMAIL=e2e@example.org
DESKTOP_FILE="$GLINTEXT_SOURCE_DIR/data/glintext.desktop"

item() { secret-tool lookup xdg:schema "$SCHEMA" account "$1" 2>/dev/null; }
has_item() { item "$1" >/dev/null; }
received() { curl -fsS "$SERVICE/test/received?path=$1"; }
count_received() { received "$1" | grep -o '"method"' | wc -l; }

echo "# a keyring and the reference service for this session"
start_session_keyring
start_reference_service

grep -q '^MimeType=.*x-scheme-handler/glintext;' "$DESKTOP_FILE" ||
  fail "the desktop file does not claim glintext: addresses"
EXEC_LINE=$(sed -n 's/^Exec=//p' "$DESKTOP_FILE" | head -n1)
[[ "$EXEC_LINE" == *%u* ]] || fail "the desktop file's Exec line does not take the address"

install_stand_in_browser "$EXEC_LINE" "$EMAIL"
export GLINTEXT_SERVICE_URL="$SERVICE"

echo "# sign in: the page opens, the browser hands the callback back to the instance"
start_x 1024x768
write_defaults '{"onboardingCompleted": true}'
start_app
glintext sign-in >"$E2E_DIR/sign-in.out" 2>&1 || fail "glintext sign-in failed"
wait_until 30 test -s "$E2E_DIR/callback.status" || fail "the browser never got the sign-in page"
[ "$(cat "$E2E_DIR/callback.status")" = 0 ] || fail "the callback process failed: $(cat "$E2E_DIR/callback.out")"
wait_until 15 has_item cloudToken || fail "no token in the keyring"
TOKEN=$(item cloudToken)
[ "$(item cloudEmail)" = "$EMAIL" ] || fail "cloudEmail is '$(item cloudEmail)'"
[ "$(item cloudTier)" = free ] || fail "cloudTier is '$(item cloudTier)'"
item cloudDeviceId | grep -Eq '^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$' ||
  fail "cloudDeviceId is '$(item cloudDeviceId)'"
curl -fsS -H "Authorization: Bearer $TOKEN" "$SERVICE/api/me" | grep -q "\"$EMAIL\"" ||
  fail "the stored token is not the account's"
# The second process handed the address over and ended (the browser waited for it).
kill -0 "$APP_PID" || fail "the instance is gone"

echo "# the same callback again is ignored"
LOCATION=$(cat "$E2E_DIR/callback.url")
glintext "$LOCATION" >>"$E2E_DIR/callback.out" 2>&1 || fail "replaying the callback failed"
sleep 0.5 # an exchange would have reached the service by now
[ "$(count_received /api/app/token)" = 1 ] || fail "the code was exchanged twice"
[ "$(item cloudToken)" = "$TOKEN" ] || fail "the token changed"

echo "# a restarted instance finds the account in the keyring and refreshes it"
stop_app
before=$(count_received /api/me)
start_app
wait_until 10 sh -c "[ \$(curl -fsS '$SERVICE/test/received?path=/api/me' | grep -o '\"valid\"' | wc -l) -gt $before ]" ||
  fail "no refresh with the stored token at start-up"
stop_app

echo "# nothing secret was written anywhere the user or a report could see"
CODE=$(sed -n 's/.*[?&]code=\([^&]*\).*/\1/p' "$E2E_DIR/callback.url")
VERIFIER=$(received /api/app/token | sed -n 's/.*"verifier":"\([^"]*\)".*/\1/p' | head -n1)
[ -n "$CODE" ] && [ -n "$VERIFIER" ] && [ -n "$TOKEN" ] || fail "could not learn the secrets"
for secret in "$TOKEN" "$CODE" "$VERIFIER"; do
  for file in "$LOG_FILE" "$E2E_DIR/app.log" "$E2E_DIR/callback.out" "$E2E_DIR/sign-in.out"; do
    [ -f "$file" ] || continue
    if grep -qF -- "$secret" "$file"; then fail "a secret is in $(basename "$file")"; fi
  done
done
echo "PASS"
