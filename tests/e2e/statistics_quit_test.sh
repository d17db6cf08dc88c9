#!/usr/bin/env bash
# The statistics' last flush when Glintext quits: what waits in the queue goes to the
# service on the way out, and a service that does not answer holds the exit up by no more
# than the flush's 2 seconds; the unconfirmed events stay for the next start.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"
source "$(dirname "$0")/lib/cloud_session.sh"
command -v curl >/dev/null 2>&1 || { echo "SKIP: curl is not installed"; exit 77; }
command -v python3 >/dev/null 2>&1 || { echo "SKIP: python3 is not installed"; exit 77; }

start_reference_service
export GLINTEXT_SERVICE_URL="$SERVICE"
QUEUE="$DATA_DIR/improve-queue.jsonl"

# queue_events N: N events recorded just now, as an earlier run would have left them.
queue_events() {
  mkdir -p "$DATA_DIR"
  python3 -c '
import json, sys, time
for i in range(int(sys.argv[1])):
    print(json.dumps({"t": time.time(), "n": "left.%d" % i, "p": {}}, separators=(",", ":")))
' "$1" >"$QUEUE"
}
# sent_names: the event names of every batch the service stored, one per line.
sent_names() {
  curl -fsS "$SERVICE/test/reports?kind=improve" | python3 -c '
import json, sys
for batch in json.load(sys.stdin)["reports"]:
    for event in batch["events"]:
        print(event["n"])'
}
# quit_timed: SIGTERM; sets QUIT_MS to the exit's duration. (Not in a subshell: only this
# shell can wait for the app.)
quit_timed() {
  local t0 status=0
  t0=$(date +%s%N)
  kill -TERM "$APP_PID"
  wait_until 10 sh -c "! kill -0 $APP_PID 2>/dev/null" || fail "still running 10 s after SIGTERM"
  wait "$APP_PID" || status=$?
  APP_PID=""
  [ "$status" -eq 0 ] || fail "exit status $status"
  QUIT_MS=$(( ($(date +%s%N) - t0) / 1000000 ))
  echo "  quit took $QUIT_MS ms"
}

start_x 1024x768
write_defaults '{"onboardingCompleted": true}'

echo "# the queue goes out on the way out"
queue_events 3
start_app
quit_timed
names=$(sent_names)
for n in left.0 left.1 left.2 app.env; do
  grep -qx "$n" <<<"$names" || fail "event $n was not sent at quit (sent: $(tr '\n' ' ' <<<"$names"))"
done
[ ! -s "$QUEUE" ] || fail "the queue file still holds $(wc -l <"$QUEUE") lines"

echo "# a service that does not answer holds the exit up for at most the flush's limit"
queue_events 2
start_app
curl -fsS -X POST -H 'Content-Type: application/json' \
  -d '{"path":"/api/improve","delayMs":8000}' "$SERVICE/test/answers" >/dev/null
quit_timed
[ "$QUIT_MS" -lt 4500 ] || fail "quitting took $QUIT_MS ms with an unanswered batch"
[ "$QUIT_MS" -ge 1500 ] || fail "quitting took only $QUIT_MS ms: the last flush did not wait"
grep -q '"n":"left.0"' "$QUEUE" || fail "the unconfirmed events are gone from the queue"
echo "PASS"
