#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then
# builds it all again with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the tests once more. No display is needed: the window tests use
# Qt's offscreen platform, and the one test of the game binary itself starts
# a private X server.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh strace xvfb xdotool libx11-dev
export QT_QPA_PLATFORM=offscreen

# The web page's tests play it in Debian's Chromium through tests/web's
# pinned packages (node and npm from Debian where no node is installed).
web_deps=(chromium)
command -v node >/dev/null || web_deps+=(nodejs npm)
scripts/deps.sh "${web_deps[@]}"
npm ci --prefix tests/web --no-audit --no-fund
# The page itself, built with Debian's emscripten into build-web/site/.
scripts/web.sh --no-serve

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVENDRAL_BUILD_TESTS=ON \
    -DVENDRAL_WEB_SITE="$PWD/build-web/site"
cmake --build build-test -j2
(cd build-test && ctest -j2 --timeout 900 --output-on-failure)

# The sanitizers stop at the first fault they see. The random player plays a
# smaller batch here: unoptimised and watched, each game costs ten times more.
cmake -S . -B build-test-sanitize -DCMAKE_BUILD_TYPE=Debug -DVENDRAL_SANITIZE=ON -DVENDRAL_BUILD_TESTS=ON
cmake --build build-test-sanitize -j2
(cd build-test-sanitize &&
    ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    VENDRAL_MONKEY_BATCH=3000 ctest -j2 --timeout 900 --output-on-failure)
