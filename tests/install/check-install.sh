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
# A collection is a type of its own, told by its header; other .dbf files keep the shared type.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime"
  grep -q "application/x-reelkeeper-collection" "$prefix/share/mime/magic"
  if grep -q "application/x-dbf" "$prefix/share/mime/globs2"; then
    echo "the package defines the shared application/x-dbf type"; exit 1
  fi
  if command -v gio >/dev/null && [ -f /usr/share/mime/packages/freedesktop.org.xml ]; then
    mimes=$(mktemp -d)
    mkdir -p "$mimes/mime/packages"
    cp /usr/share/mime/packages/freedesktop.org.xml "$prefix/share/mime/packages/org.reelkeeper.Reelkeeper.xml" "$mimes/mime/packages/"
    update-mime-database "$mimes/mime"
    "$prefix/bin/reelkeeper-cli" create "$mimes/FILMS.DBF" >/dev/null
    printf '\x03\x7e\x0c\x0b\x01\x00\x00\x00\x41\x00\x0b\x00' >"$mimes/roads.dbf"
    head -c 100 /dev/zero >>"$mimes/roads.dbf"
    typeOf() { XDG_DATA_DIRS="$mimes" XDG_DATA_HOME="$mimes/none" gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'; }
    [ "$(typeOf "$mimes/FILMS.DBF")" = "application/x-reelkeeper-collection" ] || { echo "a collection is not known as one"; exit 1; }
    [ "$(typeOf "$mimes/roads.dbf")" = "application/x-dbf" ] || { echo "another .dbf is taken for a collection"; exit 1; }
    rm -rf "$mimes"
  fi
fi
grep -q "^MimeType=application/x-reelkeeper-collection;" "$desktop"
# The desktop knows the window by its class (the program's name): the entry's icon shows beside it.
grep -q "^StartupWMClass=reelkeeper$" "$desktop"
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
