#!/usr/bin/env bash
# The wayland backend's clipboard on real headless compositors, sway and KDE's kwin, held
# through their data control by a process with no window at all (as the application is once
# the overlay has closed): another client pastes it, line breaks and all; a megabyte arrives
# whole; a reader that stops early harms nothing; when another client copies, the holder
# hears of it and reads the new text.
set -euo pipefail
probe=${GLINTEXT_CLIPBOARD_PROBE:-}
[ -n "$probe" ] && [ -x "$probe" ] || { echo "SKIP: clipboard_probe not built"; exit 77; }
source "$(dirname "$0")/lib/wayland_session.sh"
wl_require wl-paste wl-copy

PROBE_PID="" PROBE_SENT=0
start_probe() {
  rm -f "$E2E_DIR/probe.fifo"
  mkfifo "$E2E_DIR/probe.fifo"
  "$probe" <"$E2E_DIR/probe.fifo" >"$E2E_DIR/probe.out" 2>"$E2E_DIR/probe.log" &
  PROBE_PID=$!
  WL_PIDS+=("$PROBE_PID")
  exec {PROBE_FD}>"$E2E_DIR/probe.fifo"
  PROBE_SENT=0
  wait_until 10 grep -q -e '^connected$' -e '^no data control$' "$E2E_DIR/probe.out" ||
    fail "the probe did not start"
  grep -q '^connected$' "$E2E_DIR/probe.out" || fail "no data control on this compositor"
}
probe_answered() { [ "$(grep -c -e '^ok$' "$E2E_DIR/probe.out")" -ge "$PROBE_SENT" ]; }
probe() {
  PROBE_SENT=$((PROBE_SENT + 1))
  printf '%s\n' "$1" >&"$PROBE_FD"
  wait_until 10 probe_answered || fail "the probe did not answer '$1'"
}
stop_probe() {
  probe quit || true
  exec {PROBE_FD}>&-
  wait "$PROBE_PID" || fail "the probe failed"
}
lost_count() { grep -c '^lost$' "$E2E_DIR/probe.out" || true; }

check_clipboard() {
  echo "# $1: text with line breaks and accents, from a process without a window"
  start_probe
  probe 'set Première ligne\nzweite Zeile 日本語'
  wait_until 5 clipboard_is $'Première ligne\nzweite Zeile 日本語' ||
    fail "another client pastes '$(clipboard)'"
  [ "$(wl-paste --list-types | head -n1)" = "text/plain;charset=utf-8" ] ||
    fail "offered as: $(wl-paste --list-types | tr '\n' ' ')"

  echo "# $1: a megabyte, and a reader that stops after one byte"
  probe 'fill 1000000'
  [ "$(timeout 10 wl-paste --no-newline | wc -c)" -eq 1000000 ] || fail "the megabyte came short"
  [ "$(timeout 10 wl-paste --no-newline | head -c 1)" = 0 ] || fail "no first byte"
  kill -0 "$PROBE_PID" || fail "a reader that left early killed the holder"
  [ "$(timeout 10 wl-paste --no-newline | tail -c 3)" = 789 ] || fail "the text changed"
  [ "$(lost_count)" -eq 0 ] || fail "the holder thinks it lost the clipboard"

  echo "# $1: another client copies"
  # The type is named: Debian's wl-copy 2.1 offers piped text under a garbled type name.
  printf 'copied elsewhere' | wl-copy --type 'text/plain;charset=utf-8'
  wait_until 5 sh -c "[ \$(grep -c '^lost$' '$E2E_DIR/probe.out') -ge 1 ]" ||
    fail "the holder did not hear that it lost the clipboard"
  probe get
  grep -q '^text copied elsewhere$' "$E2E_DIR/probe.out" ||
    fail "the holder reads: $(tail -n2 "$E2E_DIR/probe.out")"
  probe 'set mine again'
  wait_until 5 clipboard_is 'mine again' || fail "could not take the clipboard back"
  stop_probe
}

start_sway
check_clipboard sway
stop_desktop

start_kwin 1280 720 1 1
check_clipboard kwin
echo "PASS"
