#!/usr/bin/env bash
# Builds Vell (installing what is missing) and starts it with an optional program.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/tools/install-deps.sh"
(cd "$here" && cmake --preset release >/dev/null && cmake --build --preset release --target vell)
args=()
for a in "$@"; do
  if [ -e "$a" ]; then args+=("$(realpath "$a")"); else args+=("$a"); fi
done
exec "$here/build/host/vell" "${args[@]}"
