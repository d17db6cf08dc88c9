# Sourced after capture_session.sh by the tests that read the app as a screen reader does:
# the session's accessibility bus, and the client that walks the tree (tests/e2e/a11y).

# start_a11y_bus: the accessibility bus of this session's bus, and Qt told to speak on it.
start_a11y_bus() {
  [ -x /usr/libexec/at-spi-bus-launcher ] || { echo "SKIP: at-spi2-core is not installed"; exit 77; }
  /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "SKIP: python3-pyatspi is not installed"; exit 77; }
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_DIR/a11y-bus.log" 2>&1 &
  HELPER_PIDS+=($!)
  wait_until 10 a11y_bus_up || fail "the accessibility bus did not start"
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
}

a11y_bus_up() {
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    2>/dev/null | grep -q 'unix:'
}

# atspi COMMAND ARGS...: tests/e2e/a11y/atspi.py (see there) on the app named "Glintext".
atspi() {
  local command=$1
  shift
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../a11y/atspi.py" "$command" Glintext "$@"
}
