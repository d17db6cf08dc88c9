#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Tests that need a session bus are
# run inside one when none is there; end-to-end tests start their own X servers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j2 "$@"
fi
exec ctest --test-dir "${BUILD_DIR:-build}" --output-on-failure -j2 "$@"
