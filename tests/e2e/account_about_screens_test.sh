#!/usr/bin/env bash
# The Account and About tabs of the real binary's settings window, in English, Japanese and
# German, in a light and a dark palette (qt6ct's "darker" colours): screenshots go to
# $GLINTEXT_E2E_SHOTS (or a temporary folder) for a person to look at.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"

start_x 1280x800
source "$(dirname "$0")/lib/settings_screens.sh"

for lang in en ja de; do
  for theme in "${themes[@]}"; do
    write_defaults "{\"onboardingCompleted\":true,\"languageCode\":\"$lang\"}"
    start_app_in "$theme"
    for tab in account about; do shoot "settings-$tab-$lang-$theme" "$tab"; done
    stop_app
  done
done
echo "screenshots in $SHOT_DIR"
