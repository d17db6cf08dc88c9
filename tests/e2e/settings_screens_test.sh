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
source "$(dirname "$0")/lib/settings_screens.sh"

for lang in en ja de; do
  for theme in "${themes[@]}"; do
    write_defaults "{\"onboardingCompleted\":true,\"launchAtLogin\":false,\"languageCode\":\"$lang\"}"
    start_app_in "$theme"
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
