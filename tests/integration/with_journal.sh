#!/usr/bin/env bash
# Runs a test program beside a real systemd journal of its own: as root, in a private mount
# namespace, with a journald whose sockets and runtime journal live on private tmpfs mounts
# (nothing of the machine's own log is touched). Where that cannot be had (not root, no
# unshare or journald) the test runs as it is and exercises the path without a journal.
set -euo pipefail
JOURNALD=/lib/systemd/systemd-journald

if [ "${GLINTEXT_IN_JOURNAL_NS:-}" = 1 ]; then
  if ! { mkdir -p /run/systemd /run/log && mount -t tmpfs tmpfs /run/systemd &&
    mount -t tmpfs tmpfs /run/log; }; then
    echo "without a systemd journal (no private mounts here)"
    exec "$@"
  fi
  mkdir -p /run/systemd/journal
  "$JOURNALD" >/dev/null 2>&1 &
  journald=$!
  trap 'kill $journald 2>/dev/null; wait $journald 2>/dev/null || true' EXIT
  for _ in $(seq 100); do
    [ -S /run/systemd/journal/socket ] && break
    sleep 0.05
  done
  [ -S /run/systemd/journal/socket ] || { echo "FAIL: journald did not start" >&2; exit 1; }
  echo "with a private systemd journal"
  "$@"
  exit
fi

if [ "$(id -u)" = 0 ] && [ -x "$JOURNALD" ] && command -v unshare >/dev/null &&
  unshare -m --propagation private true 2>/dev/null; then
  exec env GLINTEXT_IN_JOURNAL_NS=1 unshare -m --propagation private bash "$0" "$@"
fi
echo "without a systemd journal"
exec "$@"
