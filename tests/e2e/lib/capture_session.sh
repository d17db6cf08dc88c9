# Shared by the capture end-to-end scripts: a private X server with a window manager, a
# private session bus and home, the real binary, and helpers to drive and observe it.
# Source it after `set -euo pipefail`; it exits 77 when the desktop tools are missing.

: "${GLINTEXT_BIN:?GLINTEXT_BIN must name the glintext binary}"

for tool in Xvfb openbox xdotool xclip import convert display dbus-send dbus-run-session \
    xsetroot xrandr xmessage; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

# Every script gets its own bus, so parallel runs never meet on the instance's bus name.
if [ -z "${GLINTEXT_E2E_OWN_BUS:-}" ]; then
  exec dbus-run-session -- env GLINTEXT_E2E_OWN_BUS=1 bash "$0" "$@"
fi

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/glintext-e2e-XXXXXX")
export HOME="$E2E_DIR/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$E2E_DIR/run"
mkdir -p "$XDG_CONFIG_HOME/Glintext" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
DATA_DIR="$XDG_DATA_HOME/Glintext"
LOG_FILE="$DATA_DIR/tester.log"
SHOT_DIR="${GLINTEXT_E2E_SHOTS:-$E2E_DIR/shots}"
mkdir -p "$SHOT_DIR"

XVFB_PID="" WM_PID="" APP_PID="" HELPER_PIDS=()

e2e_cleanup() {
  local status=$?
  stop_app
  local pid
  for pid in "${HELPER_PIDS[@]}" "$WM_PID" "$XVFB_PID"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  for pid in "${HELPER_PIDS[@]}" "$WM_PID" "$XVFB_PID"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  done
  if [ "$status" -ne 0 ] && [ -f "$E2E_DIR/app.log" ]; then
    echo "--- app output"; tail -n 40 "$E2E_DIR/app.log"
    echo "--- tester.log"; tail -n 40 "$LOG_FILE" 2>/dev/null || true
  fi
  if [ -z "${GLINTEXT_E2E_KEEP:-}" ]; then rm -rf "$E2E_DIR"; else echo "kept $E2E_DIR"; fi
  exit "$status"
}
trap e2e_cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/window_manager.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_until TIMEOUT_SECONDS COMMAND...: polls every 50 ms.
wait_until() {
  local deadline=$(( $(date +%s%N) + $1 * 1000000000 ))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# start_x WIDTHxHEIGHT: an X server on a free display, a plain background and openbox.
start_x() {
  local fdfile="$E2E_DIR/displayfd"
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$fdfile" >"$E2E_DIR/xvfb.log" 2>&1 &
  XVFB_PID=$!
  wait_until 10 test -s "$fdfile" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$fdfile")"
  start_window_manager "$E2E_DIR/openbox.log"
  xsetroot -solid '#35607f'
}

# write_defaults JSON: the defaults domain the app starts with.
write_defaults() {
  printf '%s\n' "$1" >"$XDG_CONFIG_HOME/Glintext/defaults.json"
}

app_answers() {
  dbus-send --session --print-reply --dest=io.glintext.Glintext /io/glintext/Glintext \
    org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1
}

# start_app [VAR=value...]: the tray app, ready once it answers on the bus (its event loop
# runs only after the start-up sequence, shortcuts included).
start_app() {
  env "$@" "$GLINTEXT_BIN" >>"$E2E_DIR/app.log" 2>&1 &
  APP_PID=$!
  wait_until 20 app_answers || fail "the app did not come up"
}

stop_app() {
  if [ -n "$APP_PID" ]; then
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=""
  fi
}

overlay_windows() {
  xdotool search --onlyvisible --name '^Glintext Selection$' 2>/dev/null | wc -l
}
overlay_count_is() { [ "$(overlay_windows)" -eq "$1" ]; }
wait_overlay() { wait_until 5 overlay_count_is "${1:-1}" || fail "overlay not shown on ${1:-1} screen(s)"; }
wait_overlay_closed() { wait_until 5 overlay_count_is 0 || fail "overlay still open"; }

clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }
set_clipboard() {
  printf '%s' "$1" | xclip -selection clipboard
  wait_until 5 sh -c "[ \"\$(xclip -o -selection clipboard 2>/dev/null)\" = '$1' ]"
}
clipboard_is() { [ "$(clipboard)" = "$1" ]; }

log_lines() {
  if [ -f "$LOG_FILE" ]; then grep -c -- "$1" "$LOG_FILE" || true; else echo 0; fi
}

# show_image FILE TITLE X Y: a window showing FILE at screen position X,Y; sets WX WY WW WH
# to its content's geometry.
show_image() {
  display -geometry "+$3+$4" -title "$2" "$1" >/dev/null 2>&1 &
  HELPER_PIDS+=($!)
  wait_until 10 sh -c "xdotool search --onlyvisible --name '^$2\$' >/dev/null" ||
    fail "helper window $2 not shown"
  local id
  id=$(xdotool search --onlyvisible --name "^$2\$" | head -n1)
  sleep 0.3 # let the window manager settle the frame
  eval "$(xdotool getwindowgeometry --shell "$id")"
  WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# drag X1 Y1 X2 Y2 [SHOT]: a left-button drag; SHOT names a screenshot taken while held.
drag() {
  xdotool mousemove "$1" "$2" mousedown 1 sleep 0.05 \
    mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 )) sleep 0.05 mousemove "$3" "$4" sleep 0.1
  if [ -n "${5:-}" ]; then
    import -window root "$SHOT_DIR/$5"
  fi
  xdotool mouseup 1
}

# text_image FILE LINE...: dark text on white, one line per argument.
text_image() {
  local file=$1
  shift
  local args=() y=60 line
  for line in "$@"; do
    args+=(-annotate "+30+$y" "$line")
    y=$((y + 64))
  done
  convert -size "900x$((y - 10))" xc:white -font DejaVu-Sans -pointsize 36 -fill '#111111' \
    "${args[@]}" "$file"
}
