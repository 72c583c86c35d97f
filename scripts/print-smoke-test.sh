#!/usr/bin/env bash
# Prints a default report through the real print system, as a user would:
# starts CUPS with a cups-pdf queue as the default printer, starts the
# program on a virtual display, opens Reports and presses Print, and checks
# that the PDF the queue wrote holds the report's pages. Not part of CI: it
# installs and starts system services. Run as root on a Debian machine:
#   scripts/print-smoke-test.sh [BUILD]          (default build-test)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
missing=()
for p in cups printer-driver-cups-pdf xvfb openbox xdotool poppler-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
cmake --build "$build" --target reelkeeper db_ops >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The print system: cups-pdf writes each job as a PDF into its output folder.
pgrep -x cupsd >/dev/null || { cupsd -f & pids+=($!); }
for _ in $(seq 1 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.2; done
outdir=$(sed -n 's/^Out \(.*\)$/\1/p' /etc/cups/cups-pdf.conf | head -n 1)
outdir=${outdir//\$\{HOME\}/$HOME}
outdir=${outdir:-/var/spool/cups-pdf/ANONYMOUS}
lpadmin -p ReelkeeperPDF -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -E 2>/dev/null \
  || lpadmin -p ReelkeeperPDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E
# Letter paper in the queue's own description (Qt lays the job out on its default page size) and in
# its job defaults (the paper cups-pdf writes), as the command line's PDF has it.
lpadmin -p ReelkeeperPDF -o PageSize=Letter -o PageSize-default=Letter -o media-default=na_letter_8.5x11in
lpadmin -d ReelkeeperPDF

# A collection of 120 records and the program on a virtual display.
"$build/bench/db_ops" generate "$work/FILMS.DBF" 120 >/dev/null
printf '[Misc]\nShow Tips=No\nLast Database=%s\n[Sort Order]\nPrimary Sort=14\nSecondary Sort=1\n' "$work/FILMS.DBF" \
  > "$work/REELKP.INI"
Xvfb :91 -screen 0 1280x1024x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
DISPLAY=:91 openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
REELKEEPER_HOME="$work/home" REELKEEPER_CONFIG="$work/REELKP.INI" DISPLAY=:91 QT_QPA_PLATFORM=xcb \
  "$build/app/reelkeeper" >"$work/program.log" 2>&1 & pids+=($!)
sleep 4
main=$(DISPLAY=:91 xdotool search --sync --name "Reelkeeper Videos 95" | head -n 1)
DISPLAY=:91 xdotool windowactivate --sync "$main"
DISPLAY=:91 xdotool key --clearmodifiers alt+g r          # Navigate > Reports
reports=$(DISPLAY=:91 xdotool search --sync --name "^Reports$" | head -n 1)
DISPLAY=:91 xdotool windowactivate --sync "$reports" key --clearmodifiers alt+p   # Print
status=$(DISPLAY=:91 xdotool search --sync --name "^Report Status Screen$" | head -n 1)
sleep 3
DISPLAY=:91 xdotool windowactivate --sync "$status" key --clearmodifiers Return  # OK

# The queue writes the job as a PDF.
pdf=""
for _ in $(seq 1 100); do
  pdf=$(find "$outdir" /var/spool/cups-pdf -name '*.pdf' -newer "$work/FILMS.DBF" 2>/dev/null | head -n 1)
  [ -n "$pdf" ] && break
  sleep 0.3
done
if [ -z "$pdf" ]; then
  echo "FAILED: the print queue wrote no PDF into $outdir"; lpstat -W completed -o || true; exit 1
fi
# The driver's PDF holds no extractable text: its pages are compared with the
# report's own, rendered by the command-line tool from the same collection.
pages=$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')
REELKEEPER_HOME="$work/home" REELKEEPER_CONFIG="$work/REELKP.INI" \
  "$build/app/reelkeeper-cli" report "$work/FILMS.DBF" --definition 1 --pdf "$work/expected.pdf" >/dev/null 2>&1
expected=$(pdfinfo "$work/expected.pdf" | sed -n 's/^Pages: *//p')
echo "printed through CUPS to $pdf: $pages pages (the report to a PDF file has $expected)"
[ "${pages:-0}" -ge 1 ] || { echo "FAILED: the printed PDF has no pages"; exit 1; }
# Pages may break at other lines on the queue's device than on the 1200-dpi PDF device.
[ "$pages" = "$expected" ] || echo "note: the page counts differ"
echo "print smoke test passed"
