#!/usr/bin/env bash
# A Unicode collection in which every tenth title is in another script beside
# the same records kept in Windows-1252 (Western titles only), side by side:
# import, export, search, the quick filter, sort and the Large Report. Each
# line gives the Unicode collection's time, the Windows-1252 one's and their
# ratio.
# Usage: bench/unicode-vs-1252.sh [SIZES...]   (default: 100000 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-bench}
data=${DATA:-bench/data}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 1000000)

# bench/run-db.sh has built these already when it runs this script.
if [ -z "${BENCH_BUILT:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DREELKEEPER_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" --target db_ops reelkeeper-cli >/dev/null
fi
source bench/versus.sh
ops="$build/bench/db_ops"
cli="$build/app/reelkeeper-cli"
mkdir -p "$data"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export REELKEEPER_HOME="$home" REELKEEPER_CONFIG="$home/REELKP.INI"

for n in "${sizes[@]}"; do
  unicode="$data/U$n.DBF" western="$data/A$n.DBF"
  [ -f "$unicode" ] || "$ops" generate "$unicode" "$n" --scripts >/dev/null
  [ -f "$western" ] || "$ops" generate "$western" "$n" --windows-1252 >/dev/null
  echo "== $n records: Unicode (a tenth of the titles in other scripts) against Windows-1252"
  u="$data/UW.DBF" w="$data/AW.DBF"
  # Working copies with their .cpg (which says how each keeps its text), no index yet.
  for copy in "$unicode:$u" "$western:$w"; do
    from=${copy%%:*} to=${copy#*:}
    cp "$from" "$to" && cp "${from%.DBF}.CPG" "${to%.DBF}.CPG"
  done
  sync

  versus "export to text, stored order" \
    "'$cli' export '$u' '$data/u.txt' --header" "'$cli' export '$w' '$data/w.txt' --header"
  versus "import of that text into a new collection, title order kept" \
    "rm -f '$data/UI.DBF' '$data/UI.MDX' && '$cli' create '$data/UI.DBF' && '$cli' sort '$data/UI.DBF' 1 && '$cli' import '$data/UI.DBF' '$data/u.txt' --skip-first" \
    "rm -f '$data/AI.DBF' '$data/AI.MDX' && '$cli' create '$data/AI.DBF' --encoding windows-1252 && '$cli' sort '$data/AI.DBF' 1 && '$cli' import '$data/AI.DBF' '$data/w.txt' --skip-first"
  rm -f "$data"/UI.* "$data"/AI.* "$data/u.txt" "$data/w.txt"
  versus "sort by title" "'$cli' sort '$u' 1" "'$cli' sort '$w' 1"
  versus "export to text, title order" \
    "'$cli' export '$u' '$data/u.txt'" "'$cli' export '$w' '$data/w.txt'"
  rm -f "$data/u.txt" "$data/w.txt"
  search=(--level "Title = river" --level "Star1 = hepburn" --count)
  versus "two-level search (title, star) counted" \
    "'$cli' search '$u' ${search[*]@Q}" "'$cli' search '$w' ${search[*]@Q}"
  versus "quick filter \"night grant\"" "'$ops' quickfilter '$u' 'night grant'" "'$ops' quickfilter '$w' 'night grant'"
  versus "Large Report to text, title order" \
    "'$cli' report '$u' --name 'Large Report' --text '$data/u.txt'" \
    "'$cli' report '$w' --name 'Large Report' --text '$data/w.txt'"
  rm -f "$data/u.txt" "$data/w.txt" "$data"/UW.* "$data"/AW.*
done
