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
