#!/usr/bin/env bash
# Times the database programs of bench/database with the console runner
# beside their Python 3 twins (the sqlite3 module) and prints the ratio
# Vell / Python (best CPU time of several runs):
#   browse  every field of a 100,000-row, 5-column table read with the EOF loop
#   insert  10,000 new records posted inside one transaction
#
#   bench/database_compare.sh [BUILD_DIR]     (default: build)
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
runner=$(cd "$(dirname "$runner")" && pwd)/vellrun
command -v python3 >/dev/null || { echo "python3 is needed" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is needed (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
timing=$(mktemp)
trap 'rm -rf "$work" "$timing"' EXIT
cp "$here"/database/*.vell "$here"/database/*.py "$work"/
cd "$work" || exit 1
python3 make_data.py browse.db || exit 1

best_time() {
  local best="" t
  for ((n = 0; n < runs; n++)); do
    /usr/bin/time -o "$timing" -f '%U %S' "$@" >/dev/null 2>&1 </dev/null
    t=$(awk 'END { print $1 + $2 }' "$timing")
    best=$(awk -v a="$best" -v b="$t" 'BEGIN { print (a == "" || b < a) ? b : a }')
  done
  printf '%.2f' "$best"
}

status=0
printf '%-10s %10s %10s %8s\n' program "vell (s)" "python (s)" ratio
for name in browse insert; do
  vell_out=$("$runner" "$name.vell" </dev/null 2>/dev/null)
  py_out=$(python3 "$name.py" </dev/null 2>/dev/null)
  if [ "$vell_out" != "$py_out" ]; then
    echo "$name: outputs differ (vell: '${vell_out:0:60}', python: '${py_out:0:60}')" >&2
    status=1
    continue
  fi
  tv=$(best_time "$runner" "$name.vell")
  tp=$(best_time python3 "$name.py")
  ratio=$(awk -v v="$tv" -v p="$tp" 'BEGIN { printf "%.2f", (p > 0) ? v / p : 0 }')
  printf '%-10s %10s %10s %8s\n' "$name" "$tv" "$tp" "$ratio"
done
exit $status
