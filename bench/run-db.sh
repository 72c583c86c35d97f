#!/usr/bin/env bash
# Builds the benchmark collections (100,000 and 1,000,000 records) when they
# are missing, then times the table engine and its peers on them.
# Usage: bench/run-db.sh [SIZES...]   (default: 100000 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build-bench}
data=${DATA:-bench/data}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100000 1000000)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DREELKEEPER_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target db_ops grid_bench designer_bench reelkeeper reelkeeper-cli >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/designer_bench" 2>/dev/null
ops="$build/bench/db_ops"
mkdir -p "$data"

seconds() { /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -n 1; }

# A working copy of the pristine collection without its index, on the disk
# before anything is timed: a step that syncs the table would otherwise wait
# for the copy's own gigabyte to be written back.
fresh_copy() { cp "$pristine" "$1" && rm -f "${1%.DBF}.MDX" && sync "$1"; }

source bench/versus.sh

for n in "${sizes[@]}"; do
  pristine="$data/C$n.DBF"
  work="$data/W$n.DBF"
  [ -f "$pristine" ] || "$ops" generate "$pristine" "$n"
  echo "== $n records ($(du -h "$pristine" | cut -f1))"
  cat "$pristine" >/dev/null
  echo "cat from the page cache: $(seconds cat "$pristine") s"
  "$ops" scan "$pristine"
  "$ops" fields "$pristine"
  "$ops" blocks "$pristine"
  "$ops" filter "$pristine"

  fresh_copy "$work"
  "$ops" build "$work"
  "$ops" keys "$pristine" "$data/keys.txt"
  echo "GNU sort of the same keys (LC_ALL=C): $(LC_ALL=C seconds sort -o "$data/keys.sorted" "$data/keys.txt") s"
  rm -f "$data/keys.txt" "$data/keys.sorted"
  "$ops" open50 "$work"
  "$ops" post "$work" 2000
  "$ops" locate "$work" "no such title"
  "$build/app/reelkeeper-cli" search "$work" --level "Category = drama; Year > 1980" --level "Star1 = Audrey Hepburn" \
    --count >/dev/null
  echo "two-level search counted by reelkeeper-cli: $(seconds "$build/app/reelkeeper-cli" search "$work" \
    --level "Category = drama; Year > 1980" --level "Star1 = Audrey Hepburn" --count) s"
  echo "new four-key sort order by reelkeeper-cli: $(seconds "$build/app/reelkeeper-cli" sort "$work" 14 11 2 28) s"
  "$ops" replace "$work" Rating PG-13 PG13

  "$build/bench/grid_bench" "$work"
  # The HTML catalogue in a browser, for a collection a page is meant for.
  if command -v chromium >/dev/null && [ "$n" -le 100000 ]; then
    REELKEEPER_HOME=$(mktemp -d) "$build/app/reelkeeper-cli" export "$work" "$data/catalogue.html" >/dev/null
    python3 bench/html-catalogue.py "$data/catalogue.html" dark
    rm -f "$data/catalogue.html"
  fi
  report_home=$(mktemp -d)
  for report in "Large Report:--text:$data/report.txt" "Title and Media Number Report:--pdf:$data/report.pdf"; do
    IFS=: read -r name kind out <<<"$report"
    echo "reelkeeper-cli report \"$name\" $kind: $(REELKEEPER_HOME="$report_home" REELKEEPER_CONFIG="$report_home/REELKP.INI" \
      /usr/bin/time -f '%e s, peak %M KB' "$build/app/reelkeeper-cli" report "$work" --name "$name" "$kind" "$out" 2>&1 >/dev/null | tail -n 1)"
    rm -f "$out"
  done
  # The Large Report beside mawk printing the same twelve lines per record from the
  # collection's export (bench/large-report.awk).
  report_env="REELKEEPER_HOME='$report_home' REELKEEPER_CONFIG='$report_home/REELKP.INI'"
  bash -c "$report_env '$build/app/reelkeeper-cli' export '$work' '$data/report-peer.txt' --header" >/dev/null
  versus "Large Report to text against mawk" \
    "$report_env '$build/app/reelkeeper-cli' report '$work' --name 'Large Report' --text '$data/report.txt'" \
    "mawk -f bench/large-report.awk '$data/report-peer.txt' > '$data/report-mawk.txt'"
  # The Title and Media Number Report to PDF beside python3-reportlab drawing the same
  # rows, boxes and footers (bench/title-report.py), and the two files' sizes.
  if /usr/bin/python3 -c 'import reportlab' 2>/dev/null; then
    versus "Title and Media Number Report to PDF against reportlab" \
      "$report_env '$build/app/reelkeeper-cli' report '$work' --name 'Title and Media Number Report' --pdf '$data/report.pdf'" \
      "/usr/bin/python3 bench/title-report.py '$data/report-peer.txt' '$data/report-rl.pdf'"
    echo "PDF sizes: ours $(stat -c %s "$data/report.pdf") bytes, reportlab's $(stat -c %s "$data/report-rl.pdf") bytes"
  fi
  rm -f "$data/report.txt" "$data/report-peer.txt" "$data/report-mawk.txt" "$data/report.pdf" "$data/report-rl.pdf"
  rm -rf "$report_home"
  startup_home=$(mktemp -d)
  printf '[Misc]\nLast Database=%s\nShow Tips=No\n' "$(realpath "$work")" > "$startup_home/REELKP.INI"
  times=()
  for i in 1 2 3 4 5; do
    times+=("$(REELKEEPER_HOME="$startup_home/home" REELKEEPER_CONFIG="$startup_home/REELKP.INI" \
      QT_QPA_PLATFORM=offscreen seconds "$build/app/reelkeeper" --quit-after-show)")
  done
  echo "reelkeeper --quit-after-show with this collection (5 runs): ${times[*]} s"
  rm -rf "$startup_home"

  fresh_copy "$work"
  "$ops" build "$work" >/dev/null
  "$ops" append "$work" "$n" --batch=10000
  "$build/app/reelkeeper-cli" create "$work" >/dev/null
  "$build/app/reelkeeper-cli" index "$work" 'Upper(Left(Title,40))+STR(Year,12,0)' >/dev/null
  "$ops" append "$work" "$n" --exclusive --batch=10000
  rm -f "$work" "${work%.DBF}.MDX"

  if /usr/bin/python3 -c 'import dbfread' 2>/dev/null; then
    echo "python3-dbfread reading every record: $(seconds /usr/bin/python3 -c "
import dbfread, sys
sum(1 for _ in dbfread.DBF(sys.argv[1], encoding='cp1252'))" "$pristine") s"
    echo "python3-dbfread with the same two-level test: $(seconds /usr/bin/python3 -c "
import dbfread, sys
n = 0
for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):
    stars = [(r['Star%d' % i] or '').upper() for i in range(1, 7)]
    if ('DRAMA' in (r['Category'] or '').upper() and (r['Year'] or 0) > 1980) or any('AUDREY HEPBURN' in s for s in stars):
        n += 1" "$pristine") s"
  fi
  # Export and import beside GDAL: the collection to delimited text (stored
  # order, then title order through the sort tag), that text imported into a
  # collection with its sort tag kept, and ogr2ogr's CSV of the same file and
  # its CSV to a dBASE file.
  measure() { /usr/bin/time -f '%e s, peak %M KB' "$@" 2>&1 >/dev/null | tail -n 1; }
  cli="$build/app/reelkeeper-cli"
  exchange_home=$(mktemp -d)
  export REELKEEPER_HOME="$exchange_home" REELKEEPER_CONFIG="$exchange_home/REELKP.INI"
  fresh_copy "$work"
  echo "reelkeeper-cli export to text, stored order: $(measure "$cli" export "$work" "$data/export.txt" --header)"
  "$cli" sort "$work" 1 >/dev/null
  echo "reelkeeper-cli export to text, title order: $(measure "$cli" export "$work" "$data/export.txt" --header)"
  stored="$data/S$n.DBF"
  fresh_copy "$stored"
  versus "export in title order against the stored-order export" \
    "'$cli' export '$work' '$data/title.txt'" "'$cli' export '$stored' '$data/stored.txt'"
  versus "dump against the stored-order export" \
    "'$cli' dump '$stored' > '$data/dump.txt'" "'$cli' export '$stored' '$data/stored.txt'"
  rm -f "$stored" "$data/title.txt" "$data/stored.txt" "$data/dump.txt"
  echo "reelkeeper-cli export to dBASE, title order: $(measure "$cli" export "$work" "$data/EXPORT.DBF")"
  rm -f "$data/EXPORT.DBF"
  target="$data/IMPORT.DBF"
  "$cli" create "$target" >/dev/null
  "$cli" sort "$target" 1 >/dev/null
  echo "reelkeeper-cli import of that text, sort tag kept: $(measure "$cli" import "$target" "$data/export.txt" --skip-first)"
  # Users' files come in their own order, not in ours: the peer import reads
  # the stored-order export, titles in random order, as ours does.
  "$cli" export "$pristine" "$data/random.txt" --header >/dev/null
  if command -v sqlite3 >/dev/null; then
    versus "import of the random-order text, sort tag kept, against sqlite3 .import + CREATE INDEX on title" \
      "rm -f '$target' '${target%.DBF}.MDX' && '$cli' create '$target' && '$cli' sort '$target' 1 && '$cli' import '$target' '$data/random.txt' --skip-first" \
      "rm -f '$data/peer.db' && sqlite3 '$data/peer.db' '.mode csv' '.import $data/random.txt films' 'CREATE INDEX t ON films(Title);'"
    rm -f "$data/peer.db"
  fi
  rm -f "$data/random.txt"
  rm -f "$target" "${target%.DBF}.MDX" "$work" "${work%.DBF}.MDX"
  media_numbers=$("$cli" dump "$pristine" --limit 16 | awk -F'","' '{print $19}' | paste -sd, -)
  echo "reelkeeper-cli labels, a sheet of 16 spine labels: $(measure "$cli" labels "$pristine" --stock L7654 --spine \
    --media "$media_numbers" --pdf "$data/labels.pdf")"
  rm -f "$data/labels.pdf"
  unset REELKEEPER_HOME REELKEEPER_CONFIG
  rm -rf "$exchange_home"
  if command -v ogr2ogr >/dev/null; then
    rm -rf "$data/out.csv" "$data/gdal"
    echo "ogr2ogr -f CSV: $(measure ogr2ogr -f CSV "$data/out.csv" "$pristine")"
    echo "ogr2ogr CSV to dBASE: $(measure ogr2ogr -f 'ESRI Shapefile' "$data/gdal" "$data/out.csv")"
    rm -rf "$data/out.csv" "$data/gdal"
  fi
  rm -f "$data/export.txt"

  # Backup beside cp and sync of the same file, and the conversion of an old
  # version's file (of at most 100,000 records) into a copy of the collection.
  media="$data/media"
  mkdir -p "$media"
  rm -f "$media"/*; sync
  versus "backup against cp + sync" \
    "rm -f '$media'/*; sync; REELKEEPER_HOME='$data/bh' REELKEEPER_CONFIG='$data/bh/REELKP.INI' '$cli' backup '$pristine' '$media'" \
    "rm -f '$media'/*; sync; cp '$pristine' '$media/' && sync"
  rm -rf "$data/bh"
  rm -rf "$media"
  fresh_copy "$work"
  "$ops" build "$work" >/dev/null
  "$ops" convert "$work" $((n < 100000 ? n : 100000))
  rm -f "$work" "${work%.DBF}.MDX"

  BENCH_BUILT=1 BUILD="$build" DATA="$data" bench/unicode-vs-1252.sh "$n"
done

# Moving in from other catalogues: the same 100,000 films (titles in random order) as
# an IMDb export and a GCstar collection, each imported beside the program's own
# delimited text with a header row.
catalogues=$(mktemp -d)
/usr/bin/python3 bench/make-catalogues.py 100000 "$catalogues"
catalogue_home=$(mktemp -d)
catalogue_env="REELKEEPER_HOME='$catalogue_home' REELKEEPER_CONFIG='$catalogue_home/REELKP.INI'"
fresh="rm -f '$catalogues/T.DBF' '$catalogues/T.MDX' && $catalogue_env '$build/app/reelkeeper-cli' create '$catalogues/T.DBF' >/dev/null"
plain="$fresh && $catalogue_env '$build/app/reelkeeper-cli' import '$catalogues/T.DBF' '$catalogues/plain.txt' --skip-first"
versus "IMDb export of 100,000 films against the same as delimited text" \
  "$fresh && $catalogue_env '$build/app/reelkeeper-cli' import '$catalogues/T.DBF' '$catalogues/imdb.csv'" "$plain"
versus "GCstar collection of 100,000 films against the same as delimited text" \
  "$fresh && $catalogue_env '$build/app/reelkeeper-cli' import '$catalogues/T.DBF' '$catalogues/films.gcs'" "$plain"
rm -rf "$catalogues" "$catalogue_home"
