# Sourced after capture_session.sh by the scripts that photograph the settings window.
# Sets `themes`: light, and dark when qt6ct and its "darker" colours are installed (as a
# desktop set up for dark would give).

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

# start_app_in THEME: the app in the light or the dark palette.
start_app_in() {
  if [ "$1" = dark ]; then start_app QT_QPA_PLATFORMTHEME=qt6ct; else start_app; fi
}

settings_window() {
  xdotool search --onlyvisible --name ' — Glintext$' 2>/dev/null | head -n1
}
window_shown() { [ -n "$(settings_window)" ]; }

# shoot NAME TAB: opens TAB through the command line, checks the window is 760x520 and saves
# it as NAME.png; leaves the window's geometry in X, Y, WIDTH and HEIGHT.
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
