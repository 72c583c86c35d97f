# The Debian package: `cpack -G DEB` in a build folder makes
# reelkeeper_VERSION_ARCH.deb from what `cmake --install` puts in place, with
# its dependencies worked out from the binaries (dpkg-shlibdeps), the manual
# pages and changelog compressed and the copyright file where Debian wants them.
set(CPACK_PACKAGE_NAME reelkeeper)
set(CPACK_PACKAGE_VENDOR "Reelkeeper Videos developers")
set(CPACK_PACKAGE_CONTACT "Reelkeeper Videos developers <developers@reelkeeper.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "database manager for a private video collection")
set(CPACK_PACKAGE_DESCRIPTION "Reelkeeper Videos keeps one record per video (40 fields) in a dBASE table
with its index: a configurable grid, a tabbed record editor fed by pick
lists, ten-level searches, four-key sorting, search and replace, reports
and cassette labels (printer, preview, text file or PDF), import and export
of delimited text, dBASE files and other catalogues' exports, backup and
restore, statistics with charts and a duplicate finder. Several copies of
the program may share one collection. A command-line tool does the same
work from scripts.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts that reports, labels and their PDFs draw every script with: Latin,
# Cyrillic, Greek, Arabic and Hebrew (Noto), Chinese, Japanese and Korean
# (Noto CJK), beside the metric-compatible faces of the usual report fonts;
# Qt's reader of WebP pictures, a kind covers come in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-noto-core, fonts-noto-cjk, qt6-image-formats-plugins")
# Qt's own texts (its dialogs' buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://reelkeeper.org")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The architecture in the file's name is the one dpkg builds for, as in the package itself.
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE reelkeeper_architecture
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT reelkeeper_architecture)
  set(reelkeeper_architecture amd64)
endif()
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${reelkeeper_architecture})
set(CPACK_PACKAGE_FILE_NAME "reelkeeper_${PROJECT_VERSION}_${reelkeeper_architecture}")
include(CPack)
