#!/usr/bin/env bash
# run_window_program.sh's own answers, with a stand-in for vell that writes
# the expected record and then ends as a sanitized program does on a report:
# a record that matches passes only when the program ended well.
set -u
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}
printf 'REM stand-in\r\nEXIT\r\n' >"$work/case.vell"
printf 'same\r\n' >"$work/case.expected"
# The stand-in: $STAND_IN_STATUS is its exit status, $STAND_IN_LOG what it
# prints on stderr after writing the record.
cat >"$work/stand-in" <<'STANDIN'
#!/usr/bin/env bash
printf 'same\r\n' >record.txt
printf '%s' "${STAND_IN_LOG:-}" >&2
exit "${STAND_IN_STATUS:-0}"
STANDIN
chmod +x "$work/stand-in"
run() {  # status, log: the runner's exit status
  STAND_IN_STATUS=$1 STAND_IN_LOG=$2 "$here/run_window_program.sh" "$work/stand-in" \
    "$work/case.vell" >"$work/out" 2>&1
}

run 0 ""
[ $? -eq 0 ] || fail "a clean end: $(cat "$work/out")"
# A leak found at exit aborts the program after its record is complete.
run 134 "==1==ERROR: LeakSanitizer: detected memory leaks"$'\n'
[ $? -ne 0 ] || fail "an abort at exit passed"
grep -q LeakSanitizer "$work/out" || fail "an abort at exit: the report is not shown"
run 1 ""
[ $? -ne 0 ] || fail "a failing exit status passed"
# A report that let the program go on still fails it.
run 0 "x.cpp:3:5: runtime error: signed integer overflow"$'\n'
[ $? -ne 0 ] || fail "a runtime error report with status 0 passed"
run 0 "==7==ERROR: AddressSanitizer: heap-buffer-overflow"$'\n'
[ $? -ne 0 ] || fail "an AddressSanitizer report with status 0 passed"
exit $failed
