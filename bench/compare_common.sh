# Sourced by the compare scripts of bench/, which set $here (bench/) first:
# finds or builds the console runner of the build folder named by $1
# (default: build) and checks for python3 and /usr/bin/time. Afterwards
# $runner is the runner's absolute path, $runs the number of timed runs
# (RUNS, default 3) and the files in $scratch are removed on exit;
# print_header, best_time and compare_outputs_and_time serve the scripts' loops.
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

timing=$(mktemp)
scratch=("$timing")  # a script adds what else it makes
trap 'rm -rf "${scratch[@]}"' EXIT

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

# compare_outputs_and_time NAME VELL_PROGRAM PYTHON_TWIN: run from the current
# folder; prints the row of NAME, or, where the two outputs differ, says so
# and sets status=1, so that a broken run is not mistaken for a fast one.
status=0
compare_outputs_and_time() {
  local name=$1 program=$2 twin=$3 vell_out py_out tv tp ratio
  vell_out=$("$runner" "$program" </dev/null 2>/dev/null)
  py_out=$(python3 "$twin" </dev/null 2>/dev/null)
  if [ "$vell_out" != "$py_out" ]; then
    echo "$name: outputs differ (vell: '${vell_out:0:60}', python: '${py_out:0:60}')" >&2
    status=1
    return
  fi
  tv=$(best_time "$runner" "$program")
  tp=$(best_time python3 "$twin")
  ratio=$(awk -v v="$tv" -v p="$tp" 'BEGIN { printf "%.2f", (p > 0) ? v / p : 0 }')
  printf '%-10s %10s %10s %8s\n' "$name" "$tv" "$tp" "$ratio"
}

print_header() { printf '%-10s %10s %10s %8s\n' program "vell (s)" "python (s)" ratio; }
