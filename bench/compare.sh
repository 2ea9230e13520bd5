#!/usr/bin/env bash
# Times each program of bench/programs with the console runner beside its
# Python 3 twin and prints the ratio Vell / Python (best of several runs).
#
#   bench/compare.sh [BUILD_DIR]     (default: build)
#
# The runner is built in BUILD_DIR when it is missing. Each program's output
# must match its twin's, so a broken run is not mistaken for a fast one.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/compare_common.sh"

cd "$here/programs" || exit 1
print_header
for program in *.vell; do
  name=$(basename "$program" .vell)
  [ -f "$name.py" ] || continue
  compare_outputs_and_time "$name" "$program" "$name.py"
done
exit $status
