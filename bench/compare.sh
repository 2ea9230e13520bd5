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
root=$(dirname "$here")
build=${1:-$root/build}
runs=${RUNS:-3}
runner=$build/tests/vellrun

if [ ! -x "$runner" ]; then
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DVELL_GUI=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
  fi
  cmake --build "$build" --target vellrun >/dev/null || exit 1
fi
# The programs run from their own folder, so the runner's path must not be relative.
runner=$(cd "$(dirname "$runner")" && pwd)/vellrun
command -v python3 >/dev/null || { echo "python3 is needed" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is needed (Debian package time)" >&2; exit 1; }

# Best CPU time (user + system) in seconds of running "$@" $runs times; CPU
# time rather than wall-clock time, so that other load on the machine does
# not distort the ratio.
best_time() {
  local best="" t
  for ((n = 0; n < runs; n++)); do
    /usr/bin/time -o "$timing" -f '%U %S' "$@" >/dev/null 2>&1 </dev/null
    t=$(awk 'END { print $1 + $2 }' "$timing")
    best=$(awk -v a="$best" -v b="$t" 'BEGIN { print (a == "" || b < a) ? b : a }')
  done
  printf '%.2f' "$best"
}

timing=$(mktemp)
trap 'rm -f "$timing"' EXIT
status=0
printf '%-10s %10s %10s %8s\n' program "vell (s)" "python (s)" ratio
for program in "$here"/programs/*.vell; do
  name=$(basename "$program" .vell)
  twin=$here/programs/$name.py
  [ -f "$twin" ] || continue
  vell_out=$(cd "$here/programs" && "$runner" "$name.vell" </dev/null 2>/dev/null)
  py_out=$(python3 "$twin" </dev/null 2>/dev/null)
  if [ "$vell_out" != "$py_out" ]; then
    echo "$name: outputs differ (vell: '${vell_out:0:60}', python: '${py_out:0:60}')" >&2
    status=1
    continue
  fi
  tv=$(cd "$here/programs" && best_time "$runner" "$name.vell")
  tp=$(best_time python3 "$twin")
  ratio=$(awk -v v="$tv" -v p="$tp" 'BEGIN { printf "%.2f", (p > 0) ? v / p : 0 }')
  printf '%-10s %10s %10s %8s\n' "$name" "$tv" "$tp" "$ratio"
done
exit $status
