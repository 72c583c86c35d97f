#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-test
# The layers of the source tree: core folders include no widgets, nothing reaches up into the main window.
python3 scripts/check-layers.py build-test
ctest --test-dir build-test --output-on-failure -j "$(nproc)"
# The Debian package, made and checked in a step of its own.
scripts/package.sh build-test
