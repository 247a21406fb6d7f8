#!/usr/bin/env bash
# Creates a fresh set of the unit's databases from the SQL beside this script:
#   mkdb.sh [-f] DIR  ->  DIR/pdu.db DIR/pdu_default.db DIR/energy.db DIR/outlet.db
# Existing files are left alone (exit 1) unless -f is given.
set -euo pipefail

usage() { echo "usage: $0 [-f] DIR" >&2; exit 2; }

force=0
if [ "${1:-}" = "-f" ]; then force=1; shift; fi
[ $# -eq 1 ] || usage
dir=$1
here=$(cd "$(dirname "$0")" && pwd)
command -v sqlite3 >/dev/null || { echo "$0: sqlite3 not found" >&2; exit 1; }

# database file -> its SQL
declare -A source=(
  [pdu.db]=pdu.sql
  [pdu_default.db]=pdu.sql
  [energy.db]=energy.sql
  [outlet.db]=outlet.sql
)
names=()
for db in pdu.db pdu_default.db energy.db outlet.db; do
  if [ -f "$here/${source[$db]}" ]; then
    names+=("$db")
  elif [ "${source[$db]}" = pdu.sql ]; then
    echo "$0: missing $here/pdu.sql" >&2; exit 1
  else
    echo "$0: no ${source[$db]}, $db not made" >&2
  fi
done

for db in "${names[@]}"; do
  if [ -e "$dir/$db" ] && [ $force -eq 0 ]; then
    echo "$0: $dir/$db exists (use -f to replace it)" >&2
    exit 1
  fi
done

mkdir -p "$dir"
for db in "${names[@]}"; do
  tmp=$(mktemp "$dir/.$db.XXXXXX")
  if ! sqlite3 -bail "$tmp" < "$here/${source[$db]}"; then
    rm -f "$tmp"
    echo "$0: $here/${source[$db]} failed" >&2
    exit 1
  fi
  chmod 644 "$tmp"
  mv -f "$tmp" "$dir/$db"
done
