# Sourced after capture_session.sh by the tests that talk to the cloud: the reference service
# on a free loopback port, and a keyring of the session's own. Both stop with the session.

: "${GLINTEXT_SERVICE_BIN:?GLINTEXT_SERVICE_BIN must name the reference service}"

# start_reference_service: the service with its test controls; sets SERVICE to its address.
start_reference_service() {
  "$GLINTEXT_SERVICE_BIN" --db "$E2E_DIR/service.sqlite" --port 0 --print-port --test-controls \
    >"$E2E_DIR/service.port" 2>"$E2E_DIR/service.log" &
  HELPER_PIDS+=($!)
  wait_until 30 test -s "$E2E_DIR/service.port" || fail "the service did not start"
  SERVICE="http://127.0.0.1:$(head -n1 "$E2E_DIR/service.port")"
}

secrets_owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null |
    grep -q "boolean true"
}

# start_session_keyring: an unlocked gnome-keyring on the session bus.
start_session_keyring() {
  gnome-keyring-daemon --foreground --unlock --components=secrets <<<"e2e-keyring" \
    >"$E2E_DIR/keyring.log" 2>&1 &
  HELPER_PIDS+=($!)
  wait_until 10 secrets_owned || fail "the keyring did not start"
}

# install_stand_in_browser EXEC_LINE EMAIL: an `xdg-open` first on PATH that loads the
# sign-in page, submits EMAIL and follows the redirect to glintext: the way a desktop does, by
# running the desktop file's Exec line with %u filled. It runs as the instance's child, so
# what it needs comes through the environment. It leaves the redirect in callback.url, the
# callback's exit status in callback.status and its output in callback.out.
install_stand_in_browser() {
  mkdir -p "$E2E_DIR/bin"
  ln -sf "$GLINTEXT_BIN" "$E2E_DIR/bin/glintext"
  cat >"$E2E_DIR/bin/xdg-open" <<'BROWSER'
#!/usr/bin/env bash
set -euo pipefail
exec >>"$E2E_DIR/browser.log" 2>&1
url=$1
curl -fsS "$url" -o "$E2E_DIR/page.html"
field() { sed -n "s/.*name=\"$1\" value=\"\([^\"]*\)\".*/\1/p" "$E2E_DIR/page.html"; }
location=$(curl -sS -o /dev/null -w '%{redirect_url}' \
  --data-urlencode "app=$(field app)" --data-urlencode "challenge=$(field challenge)" \
  --data-urlencode "state=$(field state)" --data-urlencode "email=$E2E_EMAIL" "${url%%\?*}")
printf '%s\n' "$location" >"$E2E_DIR/callback.url"
status=0
quoted="'$location'" # quoted, or bash would put "%u" for each "&" of the address
sh -c "${E2E_EXEC_LINE//%u/"$quoted"}" >"$E2E_DIR/callback.out" 2>&1 || status=$?
echo "$status" >"$E2E_DIR/callback.status"
BROWSER
  chmod +x "$E2E_DIR/bin/xdg-open"
  export E2E_DIR E2E_EMAIL="$2" E2E_EXEC_LINE="$1" PATH="$E2E_DIR/bin:$PATH"
}
