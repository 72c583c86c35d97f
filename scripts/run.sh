#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DREELKEEPER_BUILD_TESTS=OFF -DREELKEEPER_BUILD_BENCH=OFF
cmake --build build
exec build/app/reelkeeper "$@"
