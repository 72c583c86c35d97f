#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Reelkeeper
# need, and only those that are missing. Works as root or through sudo.
# --bench adds the peers the benchmarks measure the program against
# (bench/run-db.sh): sqlite3, mawk, rsync and python3-reportlab. Chromium is
# among the test packages: the HTML catalogue's covers are checked in it, and
# bench/html-catalogue.py loads the catalogue in it.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n qt6-charts-dev libqt6opengl6-dev libgl-dev libzip-dev
  libsqlite3-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-noto-core fonts-noto-cjk qt6-image-formats-plugins
  python3 python3-dbfread python3-dbf gdal-bin
  desktop-file-utils appstream
  dpkg-dev file lintian
  poppler-utils xvfb nodejs dbus-daemon chromium
  locales-all
)
if [ "${1:-}" = "--bench" ]; then
  packages+=(sqlite3 mawk rsync python3-reportlab)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
  exit 1
fi
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
