#!/usr/bin/env bash
# Pictures of the main window in its three button-bar modes, taken from the
# real program on an Xvfb display. Usage: docs/make-screenshots.sh [BUILD]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target reelkeeper db_ops >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/db_ops" generate "$work/FILMS.DBF" 2000 >/dev/null
modes=(speed-buttons lettered-buttons no-buttons)
for mode in 1 2 3; do
  cat > "$work/REELKP.INI" <<INI
[Misc]
Last Database=$work/FILMS.DBF
Show Tips=No
Button Bar=$mode
Main Window Width=1040
Main Window Height=560
[Sort Order]
Primary Sort=1
INI
  REELKEEPER_HOME="$work/home" REELKEEPER_CONFIG="$work/REELKP.INI" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/app/reelkeeper" --screenshot="docs/main-window-${modes[$((mode - 1))]}.png" 2>/dev/null
done
ls -l docs/*.png
