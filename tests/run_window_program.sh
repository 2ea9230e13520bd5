#!/usr/bin/env bash
# Runs one window program the way a user starts one from the desktop,
# "vell /v NAME.vell", offscreen in a fresh temporary folder. The program
# records what it sees into record.txt (with WRITEANSIFILE) and ends with
# EXIT; the record must equal NAME.expected beside the program, byte for byte,
# and the program must end with status 0 and no sanitizer report.
# Files in a folder NAME.data beside the program are copied in first. A file
# NAME.args beside the program gives further parameters, one a line, passed
# after the program's name exactly as they stand.
#
# To add a window program: put NAME.vell and NAME.expected into
# tests/window_programs/ (the build picks them up).
set -u
vell=$1
program=$2
dir=$(cd "$(dirname "$program")" && pwd)
name=$(basename "$program" .vell)
limit=${VELL_PROGRAM_TIMEOUT:-30}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$dir/$name.vell" "$work/"
[ -d "$dir/$name.data" ] && cp -R "$dir/$name.data/." "$work/"
parameters=()
if [ -f "$dir/$name.args" ]; then
  mapfile -t parameters <"$dir/$name.args"
fi
cd "$work" || exit 2
# The platform comes from the environment alone: parameters such as
# "-platform" are the program's own.
QT_QPA_PLATFORM=offscreen timeout "$limit" "$vell" /v "$name.vell" "${parameters[@]}" >"$work/.log" 2>&1
status=$?
if [ $status -eq 124 ]; then
  echo "$name.vell did not end within ${limit}s (an error message waiting, or no EXIT)"
  exit 1
fi
# A sanitizer report ends the program with a failing status, often after the
# record is complete (leaks are checked at exit), so the status counts too.
if [ $status -ne 0 ] || grep -qE '^==[0-9]+==ERROR: |runtime error: ' "$work/.log"; then
  echo "$name.vell ended with status $status"
  cat "$work/.log"
  exit 1
fi
if [ ! -f record.txt ]; then
  echo "$name.vell wrote no record.txt (exit status $status)"
  cat "$work/.log"
  exit 1
fi
if ! cmp -s record.txt "$dir/$name.expected"; then
  echo "record.txt of $name.vell differs from $name.expected:"
  diff <(od -c "$dir/$name.expected") <(od -c record.txt) | head -40
  exit 1
fi
