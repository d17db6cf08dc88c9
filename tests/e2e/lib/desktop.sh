# A private X desktop for an end-to-end script: Xvfb on a free display with openbox, a
# private home, and the helpers the scripts share. Source it after `set -euo pipefail`.
# Sets `work` (a temporary folder, removed on exit), `shots` (where screenshots go) and
# `pids` (processes stopped on exit).

source "$(dirname "${BASH_SOURCE[0]}")/window_manager.sh"

# require_tools TOOL...: skips the test (exit 77) when one is missing.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

work=$(mktemp -d "${TMPDIR:-/tmp}/glintext-e2e-XXXXXX")
shots=${GLINTEXT_ARTIFACTS:-$work}
mkdir -p "$shots"
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# await_line PATTERN TENTHS FILE: waits up to TENTHS tenths of a second for a line matching
# PATTERN in FILE and prints it.
await_line() {
  local pattern=$1 tries=$2 file=$3 line
  for _ in $(seq "$tries"); do
    line=$(grep -m1 -E "$pattern" "$file" 2>/dev/null || true)
    [ -n "$line" ] && { echo "$line"; return 0; }
    sleep 0.1
  done
  return 1
}

# start_desktop WIDTHxHEIGHT [Xvfb options...]: the X server (display picked by Xvfb itself,
# so parallel runs never collide) and openbox, ready when this returns; exports DISPLAY and
# a private HOME for Qt programs.
start_desktop() {
  local geometry=$1
  shift
  Xvfb -displayfd 3 -screen 0 "${geometry}x24" -nolisten tcp "$@" 3>"$work/display" \
    2>"$work/xvfb.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "SKIP: Xvfb did not start"; cat "$work/xvfb.log"; exit 77; }
  export DISPLAY=":$(head -n1 "$work/display")"
  export QT_QPA_PLATFORM=xcb HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
    XDG_DATA_HOME="$work/home/.local/share"
  mkdir -p "$HOME"
  start_window_manager "$work/openbox.log"
  pids+=("$WM_PID")
}
