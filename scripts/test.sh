#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test. No display
# is needed: the window tests use Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENDRAL_BUILD_TESTS=ON
cmake --build build-test -j2
cd build-test
QT_QPA_PLATFORM=offscreen ctest -j2 --output-on-failure
