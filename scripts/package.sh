#!/usr/bin/env bash
# Makes the Debian package from a build folder and checks it: lintian finds no
# error, its dependencies resolve on this system, and the programs taken out
# of it start: the command-line tool creates and reads a collection, the
# desktop program opens one on the offscreen platform and closes.
# Usage: scripts/package.sh [BUILD]   (prints the package's path last)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
(cd "$build" && cpack -G DEB >/dev/null 2>&1)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
package=$(realpath "$build/reelkeeper_${version}_$(dpkg --print-architecture).deb")
[ -f "$package" ] || { echo "no package made: $package"; exit 1; }

# lintian's errors fail the check; its warnings and notes are shown.
report=$(lintian --tag-display-limit 0 "$package" 2>&1 | grep -v "running with root privileges" || true)
[ -z "$report" ] || echo "$report"
if grep -q "^E:" <<<"$report"; then
  echo "lintian reports errors"
  exit 1
fi
# The dependencies worked out from the binaries are packages this system has.
if [ "$(id -u)" -eq 0 ]; then
  apt-get install --simulate --no-install-recommends "$package" >/dev/null
else
  echo "not root: apt-get install --simulate not run"
fi

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$package" "$unpacked"
[ "$("$unpacked/usr/bin/reelkeeper" --version)" = "reelkeeper $version" ]
"$unpacked/usr/bin/reelkeeper-cli" create "$unpacked/FILMS.DBF" >/dev/null
"$unpacked/usr/bin/reelkeeper-cli" info "$unpacked/FILMS.DBF" | grep -q "Collection: yes"
REELKEEPER_HOME="$unpacked/home" REELKEEPER_CONFIG="$unpacked/REELKP.INI" QT_QPA_PLATFORM=offscreen \
  timeout 60 "$unpacked/usr/bin/reelkeeper" --quit-after-show "$unpacked/FILMS.DBF" 2>/dev/null
grep -q "FILMS.DBF" "$unpacked/REELKP.INI" || { echo "the packaged program did not open the collection"; exit 1; }
echo "$package"
