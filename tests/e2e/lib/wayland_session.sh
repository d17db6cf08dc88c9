# A private headless Wayland desktop for an end-to-end script: a compositor (sway, or KDE's
# kwin_wayland), pipewire and the desktop portals on a private session bus, home and
# XDG_RUNTIME_DIR, with helpers to drive the pointer and keys, read the clipboard and take
# screenshots. Everything started here is stopped on exit.
#
# Source it after `set -euo pipefail`. It exits 77 (skip) when a tool is missing. The
# compositors refuse to run as root, so under root (CI) the whole calling script is run
# again as the unprivileged user glintext-e2e, from a staged copy of the scripts and of the
# programs named by GLINTEXT_* variables (the build tree may not be readable by that user).

: "${GLINTEXT_BIN:?GLINTEXT_BIN must name the glintext binary}"

wl_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}
wl_require dbus-run-session dbus-send dbus-update-activation-environment pipewire
[ -x /usr/libexec/xdg-desktop-portal ] || { echo "SKIP: xdg-desktop-portal is not installed"; exit 77; }

WL_USER=${GLINTEXT_E2E_USER:-glintext-e2e}

# --- as root: run the script again as the test user --------------------------------------
if [ "$(id -u)" -eq 0 ]; then
  wl_require runuser useradd
  id "$WL_USER" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$WL_USER"
  wl_stage=$(mktemp -d "${TMPDIR:-/tmp}/glintext-wl-stage-XXXXXX")
  chmod 755 "$wl_stage"
  mkdir -p "$wl_stage/bin" "$wl_stage/shots"
  cp -r "$(cd "$(dirname "$0")" && pwd)" "$wl_stage/e2e"
  wl_env=(PATH="$PATH" LANG="${LANG:-C.UTF-8}" TMPDIR=/tmp GLINTEXT_E2E_SHOTS="$wl_stage/shots")
  for wl_var in $(compgen -v GLINTEXT_); do
    wl_value=${!wl_var}
    case $wl_var in GLINTEXT_E2E_USER | GLINTEXT_E2E_SHOTS | GLINTEXT_ARTIFACTS) continue ;; esac
    if [ -f "$wl_value" ] && [ -x "$wl_value" ]; then
      cp "$wl_value" "$wl_stage/bin/"
      wl_value="$wl_stage/bin/$(basename "$wl_value")"
    fi
    wl_env+=("$wl_var=$wl_value")
  done
  chown -R "$WL_USER" "$wl_stage"
  wl_status=0
  runuser -u "$WL_USER" -- env -i "${wl_env[@]}" \
    bash "$wl_stage/e2e/$(basename "$0")" "$@" || wl_status=$?
  wl_shots=${GLINTEXT_ARTIFACTS:-${GLINTEXT_E2E_SHOTS:-}}
  if [ -n "$wl_shots" ] && compgen -G "$wl_stage/shots/*" >/dev/null; then
    mkdir -p "$wl_shots" && cp "$wl_stage"/shots/* "$wl_shots/"
  fi
  rm -rf "$wl_stage"
  exit "$wl_status"
fi

# --- as the test user -----------------------------------------------------------------------
# Every script gets its own bus, so parallel runs never meet on a bus name. The bus starts
# nothing by activation: every service is started here, so every one is stopped here too.
if [ -z "${GLINTEXT_E2E_OWN_BUS:-}" ]; then
  wl_bus_conf=$(mktemp "${TMPDIR:-/tmp}/glintext-wl-bus-XXXXXX.conf")
  cat >"$wl_bus_conf" <<'CONF'
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <keep_umask/>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
  exec dbus-run-session --config-file="$wl_bus_conf" -- \
    env GLINTEXT_E2E_OWN_BUS="$wl_bus_conf" bash "$0" "$@"
fi
rm -f "$GLINTEXT_E2E_OWN_BUS" # read by the bus when it started

E2E_DIR=$(mktemp -d "${TMPDIR:-/tmp}/glintext-wl-XXXXXX")
export HOME="$E2E_DIR/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share"
export XDG_CACHE_HOME="$HOME/.cache" XDG_RUNTIME_DIR="$E2E_DIR/run"
mkdir -p "$XDG_CONFIG_HOME/Glintext" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS
DATA_DIR="$XDG_DATA_HOME/Glintext"
LOG_FILE="$DATA_DIR/tester.log"
SHOT_DIR="${GLINTEXT_E2E_SHOTS:-${GLINTEXT_ARTIFACTS:-$E2E_DIR/shots}}"
mkdir -p "$SHOT_DIR"

WL_PIDS=() APP_PID=""

wl_cleanup() {
  local status=$? pid
  stop_app
  # Newest first: the portals before pipewire, the compositor last.
  for ((i = ${#WL_PIDS[@]} - 1; i >= 0; i--)); do kill "${WL_PIDS[i]}" 2>/dev/null || true; done
  for pid in "${WL_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ "$status" -ne 0 ]; then
    local log
    for log in "$E2E_DIR"/*.log "$LOG_FILE"; do
      [ -s "$log" ] || continue
      echo "--- $(basename "$log")"
      tail -n 30 "$log"
    done
  fi
  if [ -z "${GLINTEXT_E2E_KEEP:-}" ]; then rm -rf "$E2E_DIR"; else echo "kept $E2E_DIR"; fi
  exit "$status"
}
trap wl_cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_until TIMEOUT_SECONDS COMMAND...: polls every 50 ms.
wait_until() {
  local deadline=$(($(date +%s%N) + $1 * 1000000000))
  shift
  until "$@"; do
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

wl_socket_ready() { [ -S "$XDG_RUNTIME_DIR/$1" ]; }

# The two outputs every sway test runs on: different scales, the second with a non-zero
# origin. Layout coordinates (logical pixels): LEFT 0,0 1280x720; RIGHT 1280,0 640x360.
SWAY_OUTPUTS=(
  "output HEADLESS-1 resolution 1280x720 position 0 0 scale 1"
  "output HEADLESS-2 resolution 1280x720 position 1280 0 scale 2"
)

# start_sway [CONFIG LINE...]: sway on the headless backend with the outputs above (or the
# ones given), software rendering, no input devices (the seat is driven by swaymsg and
# wtype), no Xwayland.
start_sway() {
  wl_require sway swaymsg
  local config="$E2E_DIR/sway.conf" line
  local lines=("${SWAY_OUTPUTS[@]}")
  [ "$#" -eq 0 ] || lines=("$@")
  {
    for line in "${lines[@]}"; do echo "$line"; done
    echo "xwayland disable"
    echo "focus_follows_mouse no"
    echo "default_border none"
    echo "default_floating_border none"
  } >"$config"
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    WLR_HEADLESS_OUTPUTS=$(grep -c '^output HEADLESS-' "$config") \
    sway --unsupported-gpu -D damage=rerender -c "$config" >"$E2E_DIR/sway.log" 2>&1 &
  WL_PIDS+=($!)
  wait_until 20 sh -c 'ls "$XDG_RUNTIME_DIR"/wayland-[0-9] >/dev/null 2>&1' ||
    fail "sway did not start"
  export WAYLAND_DISPLAY
  WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-[0-9] | head -n1)")
  wait_until 10 sh -c 'ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock >/dev/null 2>&1' ||
    fail "sway has no IPC socket"
  export SWAYSOCK
  SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock | head -n1)
  wait_until 10 sh -c 'swaymsg -t get_outputs >/dev/null 2>&1' || fail "sway does not answer"
  export XDG_CURRENT_DESKTOP=sway
}

# start_kwin [WIDTH HEIGHT SCALE COUNT]: KDE's compositor on its virtual backend. Its
# binary carries a file capability (cap_sys_resource) that a container's bounding set may
# lack, and exec then fails with EPERM: a copy without the capability runs the same.
start_kwin() {
  wl_require kwin_wayland
  local width=${1:-1280} height=${2:-720} scale=${3:-1} count=${4:-1}
  cp "$(command -v kwin_wayland)" "$E2E_DIR/kwin_wayland"
  "$E2E_DIR/kwin_wayland" --virtual --width "$width" --height "$height" --scale "$scale" \
    --output-count "$count" --socket wayland-kwin --no-lockscreen \
    >"$E2E_DIR/kwin.log" 2>&1 &
  WL_PIDS+=($!)
  wait_until 30 wl_socket_ready wayland-kwin || fail "kwin_wayland did not start"
  export WAYLAND_DISPLAY=wayland-kwin XDG_CURRENT_DESKTOP=KDE
  wait_until 20 bus_has_owner org.kde.kglobalaccel || fail "kwin has no shortcut service"
}

bus_has_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

portal_has() {
  dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
    /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
    "string:org.freedesktop.portal.$1" string:version >/dev/null 2>&1
}

# start_portals: pipewire and xdg-desktop-portal with the backends of the running
# compositor (wlr + gtk on sway, kde on kwin). The wlr backend exits without pipewire;
# the Screenshot portal needs an Access backend, which gtk provides.
start_portals() {
  dbus-update-activation-environment WAYLAND_DISPLAY XDG_RUNTIME_DIR XDG_CURRENT_DESKTOP \
    XDG_SESSION_TYPE
  pipewire >"$E2E_DIR/pipewire.log" 2>&1 &
  WL_PIDS+=($!)
  wait_until 10 sh -c '[ -S "$XDG_RUNTIME_DIR/pipewire-0" ]' || fail "pipewire did not start"
  /usr/libexec/xdg-permission-store >"$E2E_DIR/permission-store.log" 2>&1 &
  WL_PIDS+=($!)
  wait_until 10 bus_has_owner org.freedesktop.impl.portal.PermissionStore ||
    fail "xdg-permission-store did not start"
  local backend
  if [ "$XDG_CURRENT_DESKTOP" = KDE ]; then
    backend=/usr/lib/x86_64-linux-gnu/libexec/xdg-desktop-portal-kde
    [ -x "$backend" ] || backend=$(ls /usr/lib/*/libexec/xdg-desktop-portal-kde 2>/dev/null | head -n1)
    [ -n "$backend" ] && [ -x "$backend" ] || { echo "SKIP: no xdg-desktop-portal-kde"; exit 77; }
    QT_QPA_PLATFORM=wayland "$backend" >"$E2E_DIR/portal-kde.log" 2>&1 &
    WL_PIDS+=($!)
    wait_until 20 bus_has_owner org.freedesktop.impl.portal.desktop.kde ||
      fail "xdg-desktop-portal-kde did not start"
  else
    local b
    for b in wlr gtk; do
      [ -x "/usr/libexec/xdg-desktop-portal-$b" ] ||
        { echo "SKIP: xdg-desktop-portal-$b is not installed"; exit 77; }
      "/usr/libexec/xdg-desktop-portal-$b" >"$E2E_DIR/portal-$b.log" 2>&1 &
      WL_PIDS+=($!)
      wait_until 20 bus_has_owner "org.freedesktop.impl.portal.desktop.$b" ||
        fail "xdg-desktop-portal-$b did not start"
    done
  fi
  /usr/libexec/xdg-desktop-portal >"$E2E_DIR/portal.log" 2>&1 &
  WL_PIDS+=($!)
  wait_until 20 portal_has Screenshot || fail "the Screenshot portal is not there"
}

# start_virtual_input: the virtual pointer (and, on wlroots, keyboard), driven through the
# program's standard input by `pointer`, `pointer_press`, `pointer_release` and `drag`.
start_virtual_input() {
  local input=${GLINTEXT_VIRTUAL_INPUT:-}
  [ -n "$input" ] && [ -x "$input" ] || { echo "SKIP: virtual_input not built"; exit 77; }
  rm -f "$E2E_DIR/input.fifo"
  mkfifo "$E2E_DIR/input.fifo"
  "$input" <"$E2E_DIR/input.fifo" >"$E2E_DIR/input.out" 2>"$E2E_DIR/input.log" &
  WL_PIDS+=($!)
  exec {WL_INPUT_FD}>"$E2E_DIR/input.fifo"
  WL_INPUT_SENT=0
  wait_until 10 grep -q '^ready$' "$E2E_DIR/input.out" || fail "no virtual input devices"
}

# allow_kwin_fake_input: lets the virtual input program use kwin's fake input, which kwin
# grants only to programs a desktop file lists for it. Before start_kwin.
allow_kwin_fake_input() {
  wl_require kbuildsycoca5
  local input=${GLINTEXT_VIRTUAL_INPUT:-}
  [ -n "$input" ] && [ -x "$input" ] || { echo "SKIP: virtual_input not built"; exit 77; }
  mkdir -p "$XDG_DATA_HOME/applications"
  cat >"$XDG_DATA_HOME/applications/glintext-virtual-input.desktop" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Glintext test input
Exec=$(readlink -f "$input")
NoDisplay=true
X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input
DESKTOP
  kbuildsycoca5 >"$E2E_DIR/kbuildsycoca.log" 2>&1 || fail "kbuildsycoca5 failed"
}

# start_sway_desktop: sway with its two outputs, a pointer and a keyboard on its seat, and
# the portals; the usual start.
start_sway_desktop() {
  wl_require grim wtype wl-paste wl-copy
  start_sway "$@"
  # Without input devices the seat has neither pointer nor keyboard: clients would see no
  # pointer events, and would miss wtype's keys while they still set up the keyboard that
  # appeared with them.
  start_virtual_input
  read -r LAYOUT_W LAYOUT_H < <(swaymsg -t get_outputs | /usr/bin/python3 -c '
import json, sys
rects = [o["rect"] for o in json.load(sys.stdin) if o.get("active")]
print(max(r["x"] + r["width"] for r in rects), max(r["y"] + r["height"] for r in rects))')
  start_portals
}

# stop_desktop: everything started so far, so that another desktop can follow.
stop_desktop() {
  stop_app
  local i
  for ((i = ${#WL_PIDS[@]} - 1; i >= 0; i--)); do kill "${WL_PIDS[i]}" 2>/dev/null || true; done
  for i in "${WL_PIDS[@]}"; do wait "$i" 2>/dev/null || true; done
  WL_PIDS=()
  unset WAYLAND_DISPLAY SWAYSOCK
  if [ -n "${WL_INPUT_FD:-}" ]; then exec {WL_INPUT_FD}>&-; fi
  WL_INPUT_FD=""
}

# --- the application ------------------------------------------------------------------------

write_defaults() {
  printf '%s\n' "$1" >"$XDG_CONFIG_HOME/Glintext/defaults.json"
}

app_answers() {
  dbus-send --session --print-reply --dest=io.glintext.Glintext /io/glintext/Glintext \
    org.freedesktop.DBus.Peer.Ping >/dev/null 2>&1
}

# start_app [VAR=value...]: the tray app on Qt's wayland platform, ready once it answers.
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

log_lines() {
  if [ -f "$LOG_FILE" ]; then grep -c -- "$1" "$LOG_FILE" || true; else echo 0; fi
}

# --- sway: windows, pointer, keys, clipboard, screenshots ----------------------------------

# sway_windows [TITLE-REGEX]: one line per mapped window, "title|output|x y w h|fullscreen|focused".
sway_windows() {
  swaymsg -t get_tree | /usr/bin/python3 -c '
import json, re, sys
pattern = re.compile(sys.argv[1])
def walk(node, output):
    if node.get("type") == "output":
        output = node.get("name")
    if node.get("type") in ("con", "floating_con") and node.get("pid"):
        r = node["rect"]
        if pattern.search(node.get("name") or ""):
            print("%s|%s|%d %d %d %d|%d|%d" % (node.get("name"), output, r["x"], r["y"],
                  r["width"], r["height"], node.get("fullscreen_mode", 0),
                  1 if node.get("focused") else 0))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child, output)
walk(json.load(sys.stdin), None)' "${1:-.}"
}

overlay_windows() { sway_windows '^Glintext Selection$' | wc -l; }
overlay_count_is() { [ "$(overlay_windows)" -eq "$1" ]; }
wait_overlay() { wait_until 10 overlay_count_is "${1:-2}" || fail "overlay not shown on ${1:-2} output(s)"; }
wait_overlay_closed() { wait_until 10 overlay_count_is 0 || fail "overlay still open"; }

# input_command LINE: one command to the virtual pointer (see VirtualInput.cpp), waiting
# until the compositor has handled it.
input_acknowledged() { [ "$(grep -c '^ok$' "$E2E_DIR/input.out")" -ge "$WL_INPUT_SENT" ]; }
input_command() {
  WL_INPUT_SENT=$((WL_INPUT_SENT + 1))
  echo "$1" >&"$WL_INPUT_FD"
  wait_until 5 input_acknowledged || fail "the virtual pointer did not take '$1'"
}

# pointer X Y: moves the pointer to layout coordinates (logical pixels).
pointer() { input_command "move $1 $2 $LAYOUT_W $LAYOUT_H"; }
pointer_press() { input_command press; }
pointer_release() { input_command release; }

# drag X1 Y1 X2 Y2 [SHOT]: a left-button drag in layout coordinates; SHOT names a
# screenshot taken while the button is still held.
drag() {
  pointer "$1" "$2"
  sleep 0.05
  pointer_press
  sleep 0.05
  pointer $((($1 + $3) / 2)) $((($2 + $4) / 2))
  sleep 0.05
  pointer "$3" "$4"
  sleep 0.2
  [ -z "${5:-}" ] || screenshot "$5"
  pointer_release
}

# key ARGS...: wtype arguments, e.g. `key -k Escape` or `key -M ctrl -M shift 2`.
key() { wtype "$@"; }

# The clipboard as another client reads it (wl-paste uses the data-control protocol, so it
# needs no focus).
clipboard() { timeout 5 wl-paste --no-newline 2>/dev/null || true; }
clipboard_is() { [ "$(clipboard)" = "$1" ]; }
set_clipboard() {
  printf '%s' "$1" | wl-copy
  wait_until 5 clipboard_is "$1" || fail "could not set the clipboard"
}

# screenshot NAME: the whole desktop as grim composes it, into SHOT_DIR.
screenshot() { grim "$SHOT_DIR/$1"; }

# show_text TITLE X Y LINE...: a floating window of dark text on white (text_window) at
# layout position X,Y; sets WX WY WW WH to its geometry in layout coordinates.
show_text() {
  local title=$1 x=$2 y=$3 tool=${GLINTEXT_TEXT_WINDOW:-}
  shift 3
  [ -n "$tool" ] && [ -x "$tool" ] || { echo "SKIP: text_window not built"; exit 77; }
  "$tool" "$title" "$@" >"$E2E_DIR/$title.out" 2>"$E2E_DIR/$title.log" &
  WL_PIDS+=($!)
  wait_until 10 grep -q '^shown$' "$E2E_DIR/$title.out" || fail "window $title not shown"
  swaymsg -q "[title=\"^$title\$\"] floating enable, move absolute position $x $y" ||
    fail "could not place window $title"
  local geometry
  wait_until 5 sh -c "swaymsg -t get_tree | grep -q '\"name\": \"$title\"'" || true
  geometry=$(sway_windows "^$title\$" | head -n1 | cut -d'|' -f3)
  read -r WX WY WW WH <<<"$geometry"
  [ "$WX" -eq "$x" ] && [ "$WY" -eq "$y" ] || fail "window $title is at $WX,$WY, not $x,$y"
  sleep 0.3 # the compositor draws the moved window
}

# pixel FILE X Y: the colour of one pixel of a screenshot, as "r,g,b".
pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2,$3"'}.r)],%[fx:int(255*p{'"$2,$3"'}.g)],%[fx:int(255*p{'"$2,$3"'}.b)]' info:
}
