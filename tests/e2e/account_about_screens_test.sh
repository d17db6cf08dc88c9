#!/usr/bin/env bash
# The Account and About tabs of the real binary's settings window, in English, Japanese and
# German, in a light and a dark palette (qt6ct's "darker" colours): screenshots go to
# $GLINTEXT_E2E_SHOTS (or a temporary folder) for a person to look at.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"

start_x 1280x800

dark_scheme=/usr/share/qt6ct/colors/darker.conf
themes=(light)
if [ -f "$dark_scheme" ] && ls /usr/lib/*/qt6/plugins/platformthemes/libqt6ct.so >/dev/null 2>&1; then
  themes+=(dark)
  mkdir -p "$XDG_CONFIG_HOME/qt6ct"
  cat >"$XDG_CONFIG_HOME/qt6ct/qt6ct.conf" <<CONF
[Appearance]
color_scheme_path=$dark_scheme
custom_palette=true
style=Fusion
CONF
else
  echo "qt6ct is not installed: light palette only"
fi

settings_window() { xdotool search --onlyvisible --name ' — Glintext$' 2>/dev/null | head -n1; }
window_shown() { [ -n "$(settings_window)" ]; }

shoot() {
  "$GLINTEXT_BIN" settings "$2" || fail "$1: glintext settings $2 failed"
  wait_until 10 window_shown || fail "$1: no settings window"
  sleep 0.5 # the window manager places it, the tab paints
  local id
  id=$(settings_window)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$WIDTH" -eq 760 ] && [ "$HEIGHT" -eq 520 ] || fail "$1: window is ${WIDTH}x${HEIGHT}"
  import -window "$id" "$SHOT_DIR/$1.png"
}

for lang in en ja de; do
  for theme in "${themes[@]}"; do
    write_defaults "{\"onboardingCompleted\":true,\"languageCode\":\"$lang\"}"
    if [ "$theme" = dark ]; then start_app QT_QPA_PLATFORMTHEME=qt6ct; else start_app; fi
    for tab in account about; do shoot "settings-$tab-$lang-$theme" "$tab"; done
    stop_app
  done
done
echo "screenshots in $SHOT_DIR"
