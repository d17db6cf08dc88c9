#!/usr/bin/env bash
# Signing in from the settings window, as a person does it: `glintext settings` opens the
# window, the Account tab is chosen, a click on its sign-in button opens the service's page
# in the browser (a stand-in first on PATH that fills in the form and follows the redirect
# back to `glintext`), and the tab then shows the account's e-mail while the token sits in
# the session's keyring; its sign-out button empties the keyring again. The controls are
# found through the accessibility bus and clicked at the place it reports.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"
source "$(dirname "$0")/lib/cloud_session.sh"
source "$(dirname "$0")/lib/a11y_session.sh"
: "${GLINTEXT_SOURCE_DIR:?GLINTEXT_SOURCE_DIR must name the source tree}"
for tool in curl secret-tool gnome-keyring-daemon; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

SCHEMA=io.glintext.Glintext
EMAIL=window@example.org
EXEC_LINE=$(sed -n 's/^Exec=//p' "$GLINTEXT_SOURCE_DIR/data/glintext.desktop" | head -n1)
item() { secret-tool lookup xdg:schema "$SCHEMA" account "$1" 2>/dev/null; }
has_item() { item "$1" >/dev/null; }
no_item() { ! has_item "$1"; }

start_session_keyring
start_reference_service
start_a11y_bus

install_stand_in_browser "$EXEC_LINE" "$EMAIL"
export GLINTEXT_SERVICE_URL="$SERVICE"

# click ROLE NAME: a left click in the middle of the control the accessibility bus reports,
# once it is on screen.
click() {
  local x y w h
  wait_until 10 atspi state "$1" "$2" showing || { atspi tree >&2; fail "no $1 '$2' on screen"; }
  read -r x y w h < <(atspi find "$1" "$2")
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

start_x 1024x768
write_defaults '{"onboardingCompleted": true}'
start_app
glintext settings || fail "glintext settings failed"
click "list item" "Account"
atspi state label "Not signed in" showing || { atspi tree; fail "the tab does not say it is signed out"; }
import -window root "$SHOT_DIR/account-signed-out.png"

echo "# a click on the sign-in button: browser, callback, keyring, the tab follows"
click "push button" "Sign in"
wait_until 30 test -s "$E2E_DIR/callback.status" || fail "the browser never got the sign-in page"
wait_until 15 has_item cloudToken || fail "no token in the keyring"
[ "$(item cloudEmail)" = "$EMAIL" ] || fail "cloudEmail is '$(item cloudEmail)'"
wait_until 10 atspi state label "$EMAIL" showing || { atspi tree; fail "the tab does not show $EMAIL"; }
atspi state "push button" "Sign out" showing || fail "no sign-out button once signed in"
import -window root "$SHOT_DIR/account-signed-in.png"

echo "# sign out: the keyring is empty again and the tab says so"
click "push button" "Sign out"
wait_until 10 no_item cloudToken || fail "the token is still in the keyring"
no_item cloudEmail || fail "the e-mail is still in the keyring"
wait_until 10 atspi state "push button" "Sign in" showing ||
  { atspi tree; fail "no sign-in button after signing out"; }
atspi state label "Not signed in" showing || fail "the tab does not say it is signed out again"
echo "PASS (screenshots in $SHOT_DIR)"
