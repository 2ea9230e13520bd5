#!/usr/bin/env bash
# Times the workloads of bench/programs with the console runner beside their
# Python 3 twins (and yabasic twins where yabasic is installed), prints the
# CPU time per unit of work net of start-up and the ratios, then the scale
# checks. See bench/README.md for the columns and the settings (RUNS, TARGET,
# LIMIT, YABASIC).
#
#   bench/compare.sh [BUILD_DIR] [NAME...]     (default: build, everything)
#
# NAME is a workload (for, fib, mid, ...), a check (scale_mid, appends,
# window, ...) or a group (core, data, database, scale). The runner, and the
# window where the build has one, are brought up to date in BUILD_DIR first;
# a missing BUILD_DIR is configured as a Release build without the window.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$root/build
if [ $# -gt 0 ] && { [ -d "$1" ] || [[ "$1" == */* || "$1" == build* ]]; }; then
  build=$1
  shift
fi
python=/usr/bin/python3
[ -x "$python" ] || { echo "$python is needed" >&2; exit 1; }

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DVELL_GUI=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null || exit 1
fi
targets=(vellrun)
grep -q '^VELL_GUI:BOOL=ON' "$build/CMakeCache.txt" && targets+=(vell)
cmake --build "$build" --target "${targets[@]}" -j "${JOBS:-4}" >/dev/null || exit 1
type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")
case "$type" in
  Release | RelWithDebInfo) ;;
  *) echo "warning: $build is a '$type' build; figures are meant for Release or RelWithDebInfo" >&2 ;;
esac
build=$(cd "$build" && pwd)
exec "$python" -B "$here/compare.py" "$build/tests/vellrun" "$build/host/vell" "$here/programs" "$@"
