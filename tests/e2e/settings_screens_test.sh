#!/usr/bin/env bash
# The settings window of the real binary on an X server with a window manager, opened with
# `glintext settings TAB`, in English, Japanese and German (long texts), in a light and a dark
# palette (qt6ct's "darker" colours, as a desktop set up for dark would give): the window
# comes up at 760x520 on the tab asked for, and a later command switches the same window in
# place. Screenshots of the General, Recognition (top and scrolled to the end), Privacy and
# Permissions tabs go to $GLINTEXT_E2E_SHOTS (or a temporary folder) for a person to look at.
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

settings_window() {
  xdotool search --onlyvisible --name ' — Glintext$' 2>/dev/null | head -n1
}
window_shown() { [ -n "$(settings_window)" ]; }

# shoot NAME TAB: opens TAB through the command line and saves the window as NAME.png.
shoot() {
  "$GLINTEXT_BIN" settings "$2" || fail "$1: glintext settings $2 failed"
  wait_until 10 window_shown || fail "$1: no settings window"
  sleep 0.5 # the window manager places it, the tab paints
  local id
  id=$(settings_window)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  [ "$WIDTH" -eq 760 ] && [ "$HEIGHT" -eq 520 ] || fail "$1: window is ${WIDTH}x${HEIGHT}"
  import -window "$id" "$SHOT_DIR/$1.png"
  echo "$1: window $id ${WIDTH}x${HEIGHT}+$X+$Y"
}

for lang in en ja de; do
  for theme in "${themes[@]}"; do
    write_defaults "{\"onboardingCompleted\":true,\"launchAtLogin\":false,\"languageCode\":\"$lang\"}"
    if [ "$theme" = dark ]; then
      start_app QT_QPA_PLATFORMTHEME=qt6ct
    else
      start_app
    fi
    first=""
    for tab in general history privacy permissions; do
      shoot "settings-$tab-$lang-$theme" "$tab"
      id=$(settings_window)
      [ -z "$first" ] && first=$id
      # Switched in place: one window, the same one.
      [ "$id" = "$first" ] || fail "$lang $theme: a new window for $tab"
      [ "$(xdotool search --onlyvisible --name ' — Glintext$' | wc -l)" -eq 1 ] ||
        fail "$lang $theme: more than one settings window"
      if [ "$tab" = history ]; then
        # The cards below the fold: the wheel over the pane scrolls to the end.
        xdotool mousemove $((X + 480)) $((Y + 300)) click --repeat 12 --delay 30 5
        sleep 0.4
        import -window "$id" "$SHOT_DIR/settings-history-$lang-$theme-end.png"
      fi
    done
    stop_app
  done
done
echo "screenshots in $SHOT_DIR"
