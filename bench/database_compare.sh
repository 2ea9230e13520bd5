#!/usr/bin/env bash
# The database workloads of compare.sh alone: browsing a 100,000-row table
# and posting 10,000 new records, beside their Python 3 twins (sqlite3).
#
#   bench/database_compare.sh [BUILD_DIR]     (default: build)
exec "$(dirname "$0")/compare.sh" "$@" database
