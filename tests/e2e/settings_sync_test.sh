#!/usr/bin/env bash
# Settings sync between two machines of one account: two real instances, each with its own
# home, X server, session bus, keyring and panel (a StatusNotifier watcher), against one
# reference service. The first starts signed in, uploads its settings, and after "showHUD"
# off and German were chosen on it, uploads them on its next start. The second runs in
# English, signed out; when the person signs in there (browser page, callback), it downloads
# the document, holds both settings, and its tray menu, as the panel reads it over D-Bus,
# is German without a restart. Nothing is uploaded back.
set -euo pipefail
: "${GLINTEXT_BIN:?GLINTEXT_BIN must name the glintext binary}"
: "${GLINTEXT_SERVICE_BIN:?GLINTEXT_SERVICE_BIN must name the reference service}"
: "${GLINTEXT_SOURCE_DIR:?GLINTEXT_SOURCE_DIR must name the source tree}"
source "$(dirname "$0")/lib/desktop.sh"
require_tools Xvfb dbus-run-session dbus-send gdbus gnome-keyring-daemon secret-tool curl python3
WATCHER="$GLINTEXT_SOURCE_DIR/tests/helpers/status_notifier_watcher.py"
/usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null ||
  { echo "SKIP: python3-gi is not installed"; exit 77; }

EMAIL=sync-e2e@example.org
DESKTOP_FILE="$GLINTEXT_SOURCE_DIR/data/glintext.desktop"
EXEC_LINE=$(sed -n 's/^Exec=//p' "$DESKTOP_FILE" | head -n1)

# wait_until SECONDS COMMAND...: polls every 100 ms.
wait_until() {
  local deadline=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

echo "# the reference service and one account"
"$GLINTEXT_SERVICE_BIN" --db "$work/service.sqlite" --port 0 --print-port --test-controls \
  >"$work/service.port" 2>"$work/service.log" &
pids+=($!)
wait_until 30 test -s "$work/service.port" || fail "the service did not start"
SERVICE="http://127.0.0.1:$(head -n1 "$work/service.port")"
TOKEN=$(curl -fsS -H 'Content-Type: application/json' -d "{\"email\":\"$EMAIL\"}" \
  "$SERVICE/test/accounts" | python3 -c 'import json,sys; print(json.load(sys.stdin)["token"])')
document() { curl -fsS -H "Authorization: Bearer $TOKEN" "$SERVICE/api/sync/glintext"; }
uploads() { curl -fsS "$SERVICE/test/received?path=/api/sync/glintext" | grep -o '"PUT"' | wc -l; }

# One machine: everything in it runs on its own session bus (so the two instances never meet
# on the instance name), with its own keyring; the app is the last to start.
cat >"$work/machine.sh" <<'MACHINE'
#!/usr/bin/env bash
set -euo pipefail
dir=$1
echo $$ >"$dir/machine.pid"
children=()
trap 'kill "${children[@]}" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
trap 'exit 0' TERM INT
printf '%s\n' "$DBUS_SESSION_BUS_ADDRESS" >"$dir/bus"
owned() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q "boolean true"
}
await_name() {
  for _ in $(seq 200); do owned "$1" && return 0; sleep 0.05; done
  echo "$1 never appeared" >&2
  exit 1
}
gnome-keyring-daemon --foreground --unlock --components=secrets <<<"keyring-pass" \
  >"$dir/keyring.log" 2>&1 &
children+=($!)
await_name org.freedesktop.secrets
if [ -n "${MACHINE_TOKEN:-}" ]; then
  printf '%s' "$MACHINE_TOKEN" | secret-tool store --label="Glintext: cloudToken" \
    xdg:schema io.glintext.Glintext account cloudToken
fi
/usr/bin/python3 "$WATCHER" "$dir/items" >"$dir/watcher.log" 2>&1 &
children+=($!)
await_name org.kde.StatusNotifierWatcher
"$GLINTEXT_BIN" >>"$dir/app.log" 2>&1 &
children+=($!)
echo $! >"$dir/app.pid"
wait $!
MACHINE

# The browser for a sign-in: opens the page, submits the e-mail address, and hands the
# redirect to the desktop file's Exec line, as a desktop does.
cat >"$work/xdg-open" <<'BROWSER'
#!/usr/bin/env bash
set -euo pipefail
exec >>"$MACHINE_DIR/browser.log" 2>&1
url=$1
curl -fsS "$url" -o "$MACHINE_DIR/page.html"
field() { sed -n "s/.*name=\"$1\" value=\"\([^\"]*\)\".*/\1/p" "$MACHINE_DIR/page.html"; }
location=$(curl -sS -o /dev/null -w '%{redirect_url}' \
  --data-urlencode "app=$(field app)" --data-urlencode "challenge=$(field challenge)" \
  --data-urlencode "state=$(field state)" --data-urlencode "email=$E2E_EMAIL" "${url%%\?*}")
quoted="'$location'"
sh -c "${E2E_EXEC_LINE//%u/"$quoted"}"
BROWSER
chmod +x "$work/xdg-open"
mkdir -p "$work/bin"
ln -s "$GLINTEXT_BIN" "$work/bin/glintext"
mv "$work/xdg-open" "$work/bin/xdg-open"

# in_machine NAME COMMAND...: runs a command as that machine's user session would.
in_machine() {
  local dir="$work/$1"
  shift
  env HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" XDG_DATA_HOME="$dir/home/.local/share" \
    XDG_CACHE_HOME="$dir/home/.cache" XDG_RUNTIME_DIR="$dir/run" DISPLAY="$(cat "$dir/display")" \
    DBUS_SESSION_BUS_ADDRESS="$(cat "$dir/bus" 2>/dev/null || true)" MACHINE_DIR="$dir" \
    PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb GLINTEXT_SERVICE_URL="$SERVICE" \
    E2E_EMAIL="$EMAIL" E2E_EXEC_LINE="$EXEC_LINE" WATCHER="$WATCHER" "$@"
}

# new_machine NAME DEFAULTS: a home with these defaults and an X server of its own.
new_machine() {
  local dir="$work/$1"
  mkdir -p "$dir/home/.config/Glintext" "$dir/run"
  chmod 700 "$dir/run"
  printf '%s\n' "$2" >"$dir/home/.config/Glintext/defaults.json"
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$dir/displayfd" \
    >"$dir/xvfb.log" 2>&1 &
  pids+=($!)
  wait_until 10 test -s "$dir/displayfd" || fail "Xvfb for $1 did not start"
  echo ":$(head -n1 "$dir/displayfd")" >"$dir/display"
}

# start_machine NAME [VAR=value...]: its session, keyring, panel and app; ready when the app's
# tray item has registered with the panel.
start_machine() {
  local name=$1 dir="$work/$1"
  shift
  rm -f "$dir/bus" "$dir/items" "$dir/app.pid" "$dir/machine.pid"
  in_machine "$name" env "$@" dbus-run-session -- bash "$work/machine.sh" "$dir" \
    >>"$dir/session.log" 2>&1 &
  pids+=($!)
  wait_until 20 test -s "$dir/machine.pid" || fail "$name: no session"
  pids+=("$(cat "$dir/machine.pid")")
  wait_until 30 test -s "$dir/items" || fail "$name: the tray item never registered ($(tail -n 5 "$dir/app.log" "$dir/session.log"))"
}

stop_machine() {
  local dir="$work/$1" pid
  pid=$(cat "$dir/machine.pid")
  kill "$(cat "$dir/app.pid")" 2>/dev/null || true
  wait_until 10 sh -c "! kill -0 $pid 2>/dev/null" || fail "$1 did not stop"
}

setting() { # NAME KEY: the value in that machine's defaults, as JSON
  python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(json.dumps(d.get(sys.argv[2])))' \
    "$work/$1/home/.config/Glintext/defaults.json" "$2" 2>/dev/null || echo unreadable
}
setting_is() { [ "$(setting "$1" "$2")" = "$3" ]; }

# menu NAME: the labels of its tray menu, as the panel gets them.
menu() {
  local item
  item=$(head -n1 "$work/$1/items")
  in_machine "$1" gdbus call --session --dest "$item" --object-path /MenuBar \
    --method com.canonical.dbusmenu.GetLayout -- 0 -1 '[]' | grep -o "'label': <'[^']*'>" |
    sed "s/'label': <'\(.*\)'>/\1/"
}
menu_has() { menu "$1" | grep -qxF "$2"; }

echo "# the first machine: signed in at start, it uploads its settings"
new_machine first '{"onboardingCompleted": true}'
start_machine first MACHINE_TOKEN="$TOKEN"
wait_until 15 setting_is first cloudSyncBaseVersion 1 || fail "no first upload ($(document))"
stop_machine first

echo "# German and no toast chosen on it; its next start uploads them"
python3 - "$work/first/home/.config/Glintext/defaults.json" <<'EDIT'
import json, sys
path = sys.argv[1]
values = json.load(open(path))
values.update(showHUD=False, languageCode="de")
json.dump(values, open(path, "w"))
EDIT
start_machine first
wait_until 15 setting_is first cloudSyncBaseVersion 2 || fail "the change was not uploaded ($(document))"
document | grep -q '\\"showHUD\\":false' || fail "the document lacks showHUD: $(document)"
document | grep -q '\\"languageCode\\":\\"de\\"' || fail "the document lacks the language: $(document)"
menu_has first "Text erfassen" || fail "the first machine's menu is not German: $(menu first)"

echo "# the second machine, in English and signed out"
new_machine second '{"onboardingCompleted": true}'
start_machine second
menu second >"$shots/menu-before.txt"
menu_has second "Capture Text" || fail "the second machine's menu is not English: $(menu second)"
setting_is second showHUD null || fail "showHUD is already set on the second machine"
APP_PID=$(cat "$work/second/app.pid")
UPLOADS=$(uploads)

echo "# signing in there brings both settings, and the menu relabels without a restart"
in_machine second glintext sign-in || fail "glintext sign-in failed"
wait_until 15 setting_is second showHUD false ||
  fail "showHUD did not arrive ($(cat "$work/second/browser.log" 2>/dev/null))"
setting_is second languageCode '"de"' || fail "the language did not arrive: $(setting second languageCode)"
wait_until 5 menu_has second "Text erfassen" || fail "the menu was not relabelled: $(menu second)"
menu second >"$shots/menu-after.txt"
menu_has second "Einstellungen…" || fail "the settings item was not relabelled: $(menu second)"
[ "$(cat "$work/second/app.pid")" = "$APP_PID" ] && kill -0 "$APP_PID" ||
  fail "the second instance was restarted"
setting_is second cloudSyncBaseVersion 2 || fail "the version was not recorded"
sleep 3 # longer than the upload wait: what was applied is not sent back
[ "$(uploads)" = "$UPLOADS" ] || fail "the applied settings went back up"
stop_machine second
stop_machine first
echo "PASS"
