#!/usr/bin/env bash
# Makes a picture of every screen under a virtual X display (started here if
# none is set) and saves them in docs/screenshots/. Usage: scripts/screenshots.sh [SCALE]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh xvfb xauth
cmake -S . -B build-shots -DCMAKE_BUILD_TYPE=Release -DVENDRAL_BUILD_TESTS=OFF -DVENDRAL_BUILD_TOOLS=ON >/dev/null
cmake --build build-shots -j2 --target vendral-screenshots
scale="${1:-1}"
out=docs/screenshots
[ "$scale" != 1 ] && out="docs/screenshots/x$scale"
export QT_SCALE_FACTOR="$scale" QT_QPA_PLATFORM=xcb
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1600x1200x24" build-shots/vendral-screenshots "$out"
else
  build-shots/vendral-screenshots "$out"
fi
echo "Screenshots in $out"
