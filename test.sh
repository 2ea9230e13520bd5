#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test: the
# normal build, then every test again (the window, the components and the
# window programs included, offscreen) under AddressSanitizer and
# UndefinedBehaviorSanitizer, with a bounded fuzzing run of the lexer and of
# whole programs in between. Any sanitizer report fails the run; the only
# leaks let through are Qt's own, listed in tools/lsan-qt.supp. The builds
# are the presets of CMakePresets.json: release, fuzz and asan.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
jobs=$(nproc)
./tools/install-deps.sh

echo "== build"
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
echo "== tests"
ctest --preset release -j "$jobs"

echo "== fuzzing"
./tools/fuzz.sh

echo "== sanitizer build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
echo "== sanitizer tests"
ctest --preset asan -j "$jobs"
