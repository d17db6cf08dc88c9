#!/usr/bin/env bash
# The application as a screen reader meets it, over the session's accessibility bus: the
# first-run guide's buttons, page dots and switches, the About box from the tray menu, and
# the settings window with every tab, switch, drop-down and button found by role and name, a
# switch toggled through its action and the setting seen in the defaults file.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"
source "$(dirname "$0")/lib/a11y_session.sh"
for tool in trayer xwininfo python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

start_a11y_bus
start_x 1024x768

# --- the first-run guide, walked to its end through the bus ---------------------------------
write_defaults '{}'
start_app
atspi find "push button" "Continue" >/dev/null || { atspi tree; fail "no guide on a first start"; }
guide=()
for page in 1 2 3; do
  atspi tree >>"$E2E_DIR/guide-tree.txt"
  atspi do "push button" "Continue" Press || fail "the guide's Continue cannot be pressed on page $page"
  sleep 0.5 # the page fades in
done
atspi tree >"$E2E_DIR/guide-last-tree.txt"
# The page dots are checkable: the current page's dot is the checked one.
for dot in 1 2 3 4; do atspi find "check box" "Page $dot" >/dev/null 2>&1 || guide+=("page dot $dot"); done
atspi state "check box" "Page 4" checked || guide+=("the last page's dot checked")
atspi find "push button" "Back" >/dev/null 2>&1 || guide+=("Back")
for toggle in "Launch Glintext at login" "Help improve Glintext" "Send crash reports"; do
  atspi find "check box" "$toggle" >/dev/null 2>&1 || guide+=("switch '$toggle'")
done
[ ${#guide[@]} -eq 0 ] || { cat "$E2E_DIR/guide-last-tree.txt"; fail "the guide's last page lacks: ${guide[*]}"; }
if grep -E '^ *(check box|push button) \|  \|.*showing' "$E2E_DIR/guide-tree.txt" "$E2E_DIR/guide-last-tree.txt"; then
  fail "guide controls without a name"
fi
stop_app
echo "first-run guide: buttons, page dots and switches named on the bus"

write_defaults '{"onboardingCompleted": true}'
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
  --transparent false >"$E2E_DIR/trayer.log" 2>&1 &
HELPER_PIDS+=($!)
wait_until 5 sh -c "xwininfo -root -tree | grep -q '\"panel\"'" || fail "no tray panel"
start_app

# --- the About box, from the tray menu ----------------------------------------------------
docked_icon() { xwininfo -root -tree | grep '("glintext"' | grep -v '1x1+' | head -n1; }
wait_until 10 sh -c "xwininfo -root -tree | grep '(\"glintext\"' | grep -qv '1x1+'" ||
  fail "the tray item never docked"
read -r w h x y < <(docked_icon |
  sed -E 's/.* ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1 \2 \3 \4/')
# Qt keeps popup menus out of the accessible tree (a reader follows them by focus events):
# the keyboard picks the item, the last but one.
about_opened() {
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3 sleep 0.5 key Up Up Return
  ATSPI_TIMEOUT=3 atspi find dialog "About Glintext" >/dev/null && return 0
  xdotool key Escape # a menu that came up late: close it and try again
  return 1
}
about_opened || about_opened || { atspi tree; fail "no About box"; }
for text in "Glintext" "Point, drag, and the text is yours."; do
  atspi find label "$text" >/dev/null || { atspi tree; fail "the About box does not say $text"; }
done
atspi tree >"$E2E_DIR/about-tree.txt"
grep -q 'label | Version ' "$E2E_DIR/about-tree.txt" || fail "the About box shows no version"
import -window root "$SHOT_DIR/about-box.png"
atspi do "push button" "OK" "Press" || fail "the About box's button cannot be pressed"
wait_until 5 sh -c "! xdotool search --onlyvisible --name '^About Glintext\$' >/dev/null" ||
  fail "the About box stayed open"
echo "about box: found and closed through the accessibility bus"

# --- the settings window -----------------------------------------------------------------
# setting_is KEY VALUE: the defaults file holds VALUE (as Python prints it) under KEY.
setting_is() {
  [ "$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1])).get(sys.argv[2]))' \
    "$XDG_CONFIG_HOME/Glintext/defaults.json" "$1")" = "$2" ]
}
"$GLINTEXT_BIN" settings || fail "glintext settings failed"
atspi find frame "Settings — Glintext" >/dev/null || { atspi tree; fail "no settings window"; }
atspi tree >"$E2E_DIR/settings-tree.txt"
missing=()
expect() { atspi find "$1" "$2" >/dev/null 2>&1 || missing+=("$1 '$2'"); }
for tab in General Recognition Privacy Permissions Account About; do expect "list item" "$tab"; done
for toggle in "Launch Glintext at login" "Clean up recognized text" "Read QR codes and barcodes" \
    "Show on-screen confirmation" "Play sound on capture" "Keep capture history" \
    "Sync settings" "Send crash reports" "Help improve Glintext"; do
  expect "check box" "$toggle"
done
expect "combo box" "Language"
expect "combo box" "History size"
expect "push button" "Clear…"
expect "push button" "Sign in"
[ ${#missing[@]} -eq 0 ] || { cat "$E2E_DIR/settings-tree.txt"; fail "not found: ${missing[*]}"; }
# Every control a reader can reach has a name.
if grep -E '^ *(check box|combo box|push button|list item) \|  \|' "$E2E_DIR/settings-tree.txt"; then
  fail "controls without a name"
fi

# A switch toggled through its action writes its setting, and back.
setting_is soundEnabled False && fail "sound starts off"
atspi do "check box" "Play sound on capture" Toggle || fail "the switch has no toggle action"
wait_until 5 setting_is soundEnabled False || fail "toggling the switch did not turn the sound off"
atspi state "check box" "Play sound on capture" checked && fail "the switch still says checked"
atspi do "check box" "Play sound on capture" Toggle
wait_until 5 setting_is soundEnabled True || fail "toggling it again did not turn the sound on"
atspi state "check box" "Play sound on capture" checked || fail "the switch does not say checked"

# A click on a tab, found by its name, shows that tab's controls.
read -r x y w h < <(atspi find "list item" "About")
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
wait_until 5 atspi state "check box" "Send crash reports" showing || fail "the About tab did not show"
atspi state "check box" "Play sound on capture" showing && fail "the Recognition tab still shows"
import -window root "$SHOT_DIR/settings-about.png"
echo "settings window: tabs, switches, drop-downs and buttons found; a switch toggled"

echo "PASS (screenshots in $SHOT_DIR)"
