#!/usr/bin/env bash
# The console runner's own answers: a program that cannot be read, and an
# INPUT answer that never ends. "sanitized" as second argument leaves out the
# case that needs a memory limit (the sanitizers reserve more address space
# than any such limit allows).
set -u
runner=$1
sanitized=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

# A folder is not a program: the same answer as for a missing file.
mkdir "$work/folder"
"$runner" "$work/folder" >"$work/out" 2>"$work/err"
status=$?
[ $status -eq 2 ] || fail "a folder as program: exit status $status, expected 2"
grep -q "cannot read" "$work/err" || fail "a folder as program: no message on stderr"
[ -s "$work/out" ] && fail "a folder as program: output on stdout"
"$runner" "$work/missing.vell" >/dev/null 2>&1
status=$?
[ $status -eq 2 ] || fail "a missing program: exit status $status, expected 2"

# An endless answer ends the program with the message of a failed allocation
# instead of taking all the memory or passing as the end of the input.
printf 'DIM A\r\nINPUT "?", A\r\nPRINT "after"\r\n' >"$work/inp.vell"
if [ "$sanitized" != sanitized ]; then
  (ulimit -v 400000 && timeout 60 "$runner" "$work/inp.vell" </dev/zero >"$work/out" 2>/dev/null)
  status=$?
  [ $status -eq 0 ] || fail "endless answer: exit status $status"
  grep -q "^\[WARNING\]cannot allocate memory $" "$work/out" ||
    fail "endless answer: no memory warning in: $(head -c 200 "$work/out")"
  grep -q after "$work/out" && fail "endless answer: the program went on"
fi
# An ordinary answer still arrives whole, without its line break.
printf 'typed text\r\n' | "$runner" "$work/inp.vell" >"$work/out" 2>/dev/null
[ "$(cat "$work/out")" = after ] || fail "ordinary answer: $(cat "$work/out")"
exit $failed
