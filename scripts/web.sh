#!/usr/bin/env bash
# Builds Vendral's web page and serves it: installs what is missing
# (Debian's emscripten, Node.js), compiles the game to WebAssembly into
# build-web/site/ and serves that folder at http://127.0.0.1:8000/.
#
#   scripts/web.sh              build, then serve (Ctrl+C stops)
#   scripts/web.sh --no-serve   only build
#   PORT=8080 scripts/web.sh    serve on another port
#   VENDRAL_WEB_BUILD=DIR scripts/web.sh   build in DIR instead of build-web
set -euo pipefail
cd "$(dirname "$0")/.."
serve=1
for arg in "$@"; do
  case "$arg" in
    --no-serve) serve=0 ;;
    *) echo "usage: scripts/web.sh [--no-serve]" >&2; exit 2 ;;
  esac
done

# rsvg-convert (librsvg2-bin) draws the installed app's icons, pngquant
# makes them smaller.
extra=(emscripten librsvg2-bin pngquant)
command -v node >/dev/null || extra+=(nodejs)
scripts/deps.sh "${extra[@]}"
# Debian's emscripten finds its JavaScript helpers (acorn) among Debian's own
# Node.js modules, also when another Node.js is first on the PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
build=${VENDRAL_WEB_BUILD:-build-web}
mkdir -p "$build"
# The page is configured from the root folder, with the game logic the
# desktop builds. A build folder configured from src/web alone (as it once
# was) is configured afresh.
root=$(pwd -P)
if [ -f "$build/CMakeCache.txt" ]; then
  home=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
  if [ "$home" != "$root" ]; then
    echo "Configuring $build afresh from $root (it was configured from ${home:-elsewhere})."
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
  fi
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  emcmake cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j2
echo "The page is in $build/site/."
if [ "$serve" = 1 ]; then
  exec node src/web/serve.mjs "$build/site" --port "${PORT:-8000}"
fi
