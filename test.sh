#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test: the
# normal build, then every test again (the window, the components and the
# window programs included, offscreen) under AddressSanitizer and
# UndefinedBehaviorSanitizer, with a bounded fuzzing run of the lexer and of
# whole programs in between. Any sanitizer report fails the run; the only
# leaks let through are Qt's own, listed in tools/lsan-qt.supp.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
jobs=$(nproc)
./tools/install-deps.sh

echo "== build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
echo "== tests"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300

echo "== fuzzing"
./tools/fuzz.sh

echo "== sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELL_SANITIZE=ON -DVELL_GUI=ON >/dev/null
cmake --build build-asan -j "$jobs"
echo "== sanitizer tests"
QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$here/tools/lsan-qt.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 600
