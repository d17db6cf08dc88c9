# Sourced by the desktop set-ups of the end-to-end scripts.

# start_window_manager LOG: openbox on $DISPLAY, managing windows when this returns; its pid
# in WM_PID. An openbox that never manages a window is shown with its log and started once
# more, so that one stuck start of the window manager is told apart from a fault of ours.
start_window_manager() {
  local log=$1 attempt
  for attempt in 1 2; do
    openbox --sm-disable >"$log" 2>&1 &
    WM_PID=$!
    window_manager_ready && return 0
    {
      echo "openbox (start $attempt) did not manage a window; running: $(kill -0 "$WM_PID" 2>/dev/null && echo yes || echo no)"
      sed 's/^/  openbox: /' "$log"
    } >&2
    kill "$WM_PID" 2>/dev/null || true
    wait "$WM_PID" 2>/dev/null || true
  done
  echo "FAIL: openbox did not start managing windows" >&2
  exit 1
}

# window_manager_ready: openbox announces itself before it is ready to manage windows; a
# window mapped in that gap is never framed or shown. Map a probe window until openbox lists
# it as a client (at most about ten seconds).
window_manager_ready() {
  local probe
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.05
  done
  for _ in $(seq 8); do
    xmessage -name glintext-wm-probe -geometry 40x20+0+0 probe >/dev/null 2>&1 &
    probe=$!
    for _ in $(seq 20); do
      if xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x'; then
        kill "$probe" 2>/dev/null || true
        wait "$probe" 2>/dev/null || true
        # Gone from the list again before anything under test starts.
        for _ in $(seq 40); do
          xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x' || return 0
          sleep 0.05
        done
        return 0
      fi
      sleep 0.05
    done
    kill "$probe" 2>/dev/null || true
    wait "$probe" 2>/dev/null || true
  done
  return 1
}
