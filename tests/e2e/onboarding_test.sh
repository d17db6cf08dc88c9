#!/usr/bin/env bash
# The first-run guide of the real binary on a fresh home: it opens on its first page, the
# keyboard walks it to the end (Space on the focused button), and the next launch stays in
# the tray; closing the window instead counts as finishing too. Forced and pinned through
# the environment it shows any page, here in German, for the long texts. Screenshots of
# every page go to $GLINTEXT_E2E_SHOTS for a person to look at.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"

start_x 1280x800

guide_window() {
  xdotool search --onlyvisible --name '^Glintext$' 2>/dev/null | head -n1
}
guide_shown() { [ -n "$(guide_window)" ]; }
guide_gone() { [ -z "$(guide_window)" ]; }

# shoot NAME: the guide's window as a PNG.
shoot() {
  sleep 0.4 # the page change fades in over 0.2 s
  import -window "$(guide_window)" "$SHOT_DIR/$1.png"
}

completed() {
  grep -q '"onboardingCompleted": *true' "$XDG_CONFIG_HOME/Glintext/defaults.json" 2>/dev/null
}

# A second launch shows nothing: the instance runs, and no guide comes up.
second_launch_stays_quiet() {
  start_app
  sleep 1.5
  guide_gone || fail "the guide came back on a later launch"
  stop_app
}

echo "# first launch: the guide on its first page, finished with the keyboard"
start_app
wait_until 10 guide_shown || fail "no guide on the first launch"
completed && fail "onboarding counted as completed before the guide was finished"
xdotool windowactivate --sync "$(guide_window)"
for page in 1 2 3 4; do
  shoot "onboarding-en-$page"
  guide_shown || fail "the guide closed before page $page"
  xdotool key space
done
wait_until 5 guide_gone || fail "four presses did not finish the guide (it did not start on page 1?)"
wait_until 5 completed || fail "finishing did not mark onboarding as completed"
stop_app
second_launch_stays_quiet

echo "# closing the window counts as finishing"
write_defaults '{}'
start_app
wait_until 10 guide_shown || fail "no guide on a fresh start"
xdotool windowactivate --sync "$(guide_window)" key alt+F4
wait_until 5 guide_gone || fail "the window manager could not close the guide"
wait_until 5 completed || fail "closing did not mark onboarding as completed"
stop_app
second_launch_stays_quiet

echo "# forced and pinned, in German"
write_defaults '{"onboardingCompleted": true, "languageCode": "de"}'
for page in 0 1 2 3; do
  start_app KORVANE_ONBOARDING=1 KORVANE_ONBOARDING_PAGE=$page
  wait_until 10 guide_shown || fail "KORVANE_ONBOARDING=1 did not force the guide"
  shoot "onboarding-de-$((page + 1))"
  stop_app
done
start_app KORVANE_ONBOARDING=true
sleep 1.5
guide_gone || fail "a value other than 1 forced the guide"
stop_app
echo "PASS"
