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
source "$here/compare_common.sh"

work=$(mktemp -d)
scratch+=("$work")
cp "$here"/database/*.vell "$here"/database/*.py "$work"/
cd "$work" || exit 1
python3 make_data.py browse.db || exit 1

print_header
for name in browse insert; do
  compare_outputs_and_time "$name" "$name.vell" "$name.py"
done
exit $status
