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
