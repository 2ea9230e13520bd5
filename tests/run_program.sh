#!/usr/bin/env bash
# Runs one test program with the console runner and compares its output with
# the expected output beside it, byte for byte. NAME.in, when present, is its
# input; NAME.args, when present, holds its command-line parameters, one a line.
set -u
runner=$1
program=$2
dir=$(dirname "$program")
name=$(basename "$program" .vell)
input=/dev/null
[ -f "$dir/$name.in" ] && input="$dir/$name.in"
parameters=()
[ -f "$dir/$name.args" ] && mapfile -t parameters <"$dir/$name.args"
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
cd "$dir" || exit 2
"$runner" "$name.vell" "${parameters[@]}" <"$input" >"$actual" 2>/dev/null
status=$?
if [ $status -gt 1 ]; then
  echo "runner failed with status $status"
  exit 1
fi
if ! cmp -s "$actual" "$name.out"; then
  echo "output of $name.vell differs from $name.out:"
  diff <(od -c "$name.out") <(od -c "$actual") | head -40
  exit 1
fi
