#!/usr/bin/env bash
# Pictures of every window of the program, taken from the real program on an
# Xvfb display: the main window in its three button-bar modes, then each
# window as its menu command opens it (reelkeeper --tour).
# Usage: docs/make-screenshots.sh [BUILD] [LANGUAGE]
# With a language (de) the program speaks it and the pictures go to docs/LANGUAGE.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
language=${2:-}
out=docs${language:+/$language}
cmake --build "$build" --target reelkeeper db_ops >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/db_ops" generate "$work/FILMS.DBF" 2000 >/dev/null
settings() {
  cat > "$work/REELKP.INI" <<INI
[Misc]
Last Database=$work/FILMS.DBF
Show Tips=No
Language=${language:-en}
Button Bar=$1
Main Window Width=1040
Main Window Height=560
[Sort Order]
Primary Sort=14
Secondary Sort=1
INI
}
run() {
  REELKEEPER_HOME="$work/home" REELKEEPER_CONFIG="$work/REELKP.INI" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/app/reelkeeper" "$@" 2>/dev/null
}
mkdir -p "$out/windows"
modes=(speed-buttons lettered-buttons no-buttons)
for mode in 1 2 3; do
  settings "$mode"
  run --screenshot="$out/main-window-${modes[$((mode - 1))]}.png"
done
settings 1
printf '"Title","Year","Category"\r\n"Casablanca","1942","Drama"\r\n' > "$work/films.txt"
run --tour="$out/windows,$work/films.txt"
rm -f "$out/windows/main-window.png" # the three above show it
ls -l "$out"/*.png "$out"/windows/*.png
