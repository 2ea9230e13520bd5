#!/usr/bin/env bash
# Builds the fuzz targets with clang, replays the kept inputs (hard cases and
# any input that once crashed, under tests/fuzz/regressions/), and
# fuzzes each target for a bounded time (FUZZ_SECONDS, 60 by default).
# Extra arguments go to both fuzzers (e.g. -jobs=8 -workers=8).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
seconds=${FUZZ_SECONDS:-60}
build=build-fuzz  # the fuzz preset's build folder
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
run() {  # name, log, command...
  local name=$1 log=$2; shift 2
  if ! "$@" >"$log" 2>&1; then
    echo "fuzz: $name failed"; tail -n 60 "$log"; exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|#[0-9]+ +DONE)' "$log" | tail -n 2 | sed "s/^/fuzz: $name: /" || true
}
for target in lexer program; do
  shopt -s nullglob
  inputs=(tests/fuzz/regressions/$target/*)
  if [ ${#inputs[@]} -gt 0 ]; then
    run "$target regressions" "$logs/$target-regress.log" "$build/tests/fuzz/fuzz_$target" "${inputs[@]}"
  fi
done
corpus="$logs/corpus"
mkdir -p "$corpus/lexer" "$corpus/program"
cp tests/programs/*.vell examples/*.vell "$corpus/program/" 2>/dev/null || true
for f in "$corpus"/program/*; do  # the lexer target's first byte chooses its operation
  for m in 0 1 2 3; do { printf "\\x0$m"; cat "$f"; } >"$corpus/lexer/$m-$(basename "$f")"; done
done
for target in lexer program; do
  run "$target" "$logs/$target.log" "$build/tests/fuzz/fuzz_$target" \
    -dict=tests/fuzz/vell.dict -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
    -max_len=4096 -print_final_stats=1 -artifact_prefix="$logs/" "$@" "$corpus/$target"
done
