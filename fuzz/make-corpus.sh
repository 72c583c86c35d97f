#!/usr/bin/env bash
# Seeds the fuzz corpus with real tables and indexes made by reelkeeper-cli.
set -euo pipefail
out=${1:?corpus folder}
cli=${CLI:-build/app/reelkeeper-cli}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$cli" create "$work/SEED.DBF" >/dev/null
"$cli" index "$work/SEED.DBF" 'Upper(Left(Title,40))+STR(Year,12,0)' >/dev/null
{ printf '\x00'; cat "$work/SEED.DBF"; } > "$out/collection-table"
{ printf '\x01'; cat "$work/SEED.MDX"; } > "$out/collection-index"
{ printf '\x02'; cat "$work/SEED.MDX"; } > "$out/collection-index-walk"
# Tables with records: a few made-up collection records, and a foreign
# dBASE III table with every field kind written by python3-dbf.
ops=${OPS:-build/bench/db_ops}
if [ -x "$ops" ]; then
  "$ops" generate "$work/RECORDS.DBF" 12 >/dev/null
  { printf '\x00'; cat "$work/RECORDS.DBF"; } > "$out/collection-records"
fi
if /usr/bin/python3 -c 'import dbf' 2>/dev/null; then
  /usr/bin/python3 "$(dirname "$0")/../tests/db/interop/write_with_dbf.py" "$work/FOREIGN.DBF"
  { printf '\x00'; cat "$work/FOREIGN.DBF"; } > "$out/foreign-table"
fi
