#!/usr/bin/env bash
# Crashes of the real binary: a fault inside the running application (a test-only trigger)
# and a SIGSEGV sent from outside each leave one crash record; the next start sends exactly
# one report for it to the service, with signal 11 and a call stack, and removes the record.
# With crash reporting off, the next start sends nothing and still removes the record.
set -euo pipefail
source "$(dirname "$0")/lib/capture_session.sh"
source "$(dirname "$0")/lib/cloud_session.sh"
command -v curl >/dev/null 2>&1 || { echo "SKIP: curl is not installed"; exit 77; }
command -v python3 >/dev/null 2>&1 || { echo "SKIP: python3 is not installed"; exit 77; }

start_reference_service
export GLINTEXT_SERVICE_URL="$SERVICE"

records() { find "$DATA_DIR" -maxdepth 1 -name 'crash-*.record' | wc -l; }
report_count() { curl -fsS "$SERVICE/test/reports?kind=crash" | python3 -c \
  'import json,sys; print(len(json.load(sys.stdin)["reports"]))'; }
report_count_is() { [ "$(report_count)" = "$1" ]; }
# check_report N PATTERN: the N-th report (from 0) has signal 11, a call stack with frames,
# and a termination reason matching PATTERN.
check_report() {
  curl -fsS "$SERVICE/test/reports?kind=crash" | python3 -c '
import json, re, sys
n, pattern = int(sys.argv[1]), sys.argv[2]
report = json.load(sys.stdin)["reports"][n]
assert report["signal"] == 11, report.get("signal")
assert report["type"] == "crash" and report["app"] == "glintext"
assert re.search(pattern, report["terminationReason"]), report["terminationReason"]
frames = json.loads(report["callStack"])["callStacks"][0]["callStackFrames"]
assert frames, "an empty call stack"
named = [f["symbol"] for f in frames if "symbol" in f]
print("  %d frames, %d named; first named: %s" % (len(frames), len(named), named[:3]))
' "$1" "$2" || fail "report $1 is not as expected"
}
# dies_of_segv PID: waits for the process to end and checks it died of SIGSEGV.
dies_of_segv() {
  local status=0
  wait_until 10 sh -c "! kill -0 $1 2>/dev/null" || fail "the app did not end"
  wait "$1" || status=$?
  [ "$status" -eq 139 ] || fail "exit status $status, not death by SIGSEGV (139)"
}

start_x 1024x768
write_defaults '{"onboardingCompleted": true}'

echo "# a fault inside the application leaves one record"
env GLINTEXT_TEST_CRASH=segv "$GLINTEXT_BIN" >>"$E2E_DIR/app.log" 2>&1 &
dies_of_segv $!
[ "$(records)" = 1 ] || fail "$(records) crash records after the fault"

echo "# the next start sends exactly one report and removes the record"
start_app
wait_until 15 report_count_is 1 || fail "no crash report arrived"
check_report 0 '^SIGSEGV \(signal 11\), code [0-9]+, address 0x0$'
[ "$(records)" = 0 ] || fail "the record is still there after it was sent"

echo "# SIGSEGV sent from outside, the way users' crashes also look"
kill -SEGV "$APP_PID"
dies_of_segv "$APP_PID"
APP_PID=""
[ "$(records)" = 1 ] || fail "$(records) crash records after kill -SEGV"
start_app
wait_until 15 report_count_is 2 || fail "no report for the signal from outside"
check_report 1 '^SIGSEGV \(signal 11\), sent by process [0-9]+$'
sleep 1
report_count_is 2 || fail "a crash was reported twice"

echo "# with crash reporting off nothing is sent and the record is gone"
kill -SEGV "$APP_PID"
dies_of_segv "$APP_PID"
APP_PID=""
write_defaults '{"onboardingCompleted": true, "crashReportingEnabled": false}'
start_app
wait_until 10 sh -c "[ \$(find '$DATA_DIR' -maxdepth 1 -name 'crash-*.record' | wc -l) = 0 ]" ||
  fail "the record stayed with reporting off"
sleep 1
report_count_is 2 || fail "a report was sent with crash reporting off"
stop_app
echo "PASS"
