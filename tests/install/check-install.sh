#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop needs:
# the programs, a valid desktop entry, a valid AppStream description, the
# dBASE file type, the icon and the manual pages.
# Usage: check-install.sh BUILD_FOLDER
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/reelkeeper bin/reelkeeper-cli share/man/man1/reelkeeper.1.gz share/man/man1/reelkeeper-cli.1.gz \
         share/icons/hicolor/scalable/apps/org.reelkeeper.Reelkeeper.svg share/mime/packages/org.reelkeeper.Reelkeeper.xml; do
  [ -e "$prefix/$f" ] || { echo "missing: $f"; exit 1; }
done
desktop="$prefix/share/applications/org.reelkeeper.Reelkeeper.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop"
else
  echo "desktop-file-validate is not installed: desktop entry not checked"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.reelkeeper.Reelkeeper.metainfo.xml"
else
  echo "appstreamcli is not installed: metainfo not checked"
fi
# The file type reaches the MIME database, and the entry opens it.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime"
  grep -q "application/x-dbf" "$prefix/share/mime/globs2"
fi
grep -q "^MimeType=application/x-dbf;" "$desktop"
# Both programs say the version the build carries, the AppStream release entry's.
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$prefix/share/metainfo/org.reelkeeper.Reelkeeper.metainfo.xml" | head -1)
[ "$("$prefix/bin/reelkeeper-cli" --version)" = "reelkeeper-cli $release" ] || { echo "reelkeeper-cli --version is not $release"; exit 1; }
[ "$(env -u DISPLAY QT_QPA_PLATFORM=none "$prefix/bin/reelkeeper" --version)" = "reelkeeper $release" ] ||
  { echo "reelkeeper --version is not $release"; exit 1; }
help=$("$prefix/bin/reelkeeper-cli" --help)
grep -q "backup FILE FOLDER" <<<"$help"
if command -v man >/dev/null; then
  page=$(MANWIDTH=80 man -l "$prefix/share/man/man1/reelkeeper-cli.1.gz" 2>&1)
  grep -q "work with Reelkeeper Videos" <<<"$page"
fi
echo "install checked"
