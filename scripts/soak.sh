#!/usr/bin/env bash
# The long run of the random player: GAMES games (10000 unless told), each
# checked after every action, in child processes of a few hundred games so
# that a crash, a sanitizer's report or a handler that never returns is
# counted and the run goes on. Prints the figures and every problem found
# with a script that replays it.
#
# Usage: scripts/soak.sh [GAMES] [SEED] [--sanitize]
set -euo pipefail
cd "$(dirname "$0")/.."
games=10000
seed=1
dir=build-soak
type=RelWithDebInfo
sanitize=OFF
numbers=0
for arg in "$@"; do
    case $arg in
    --sanitize) dir=build-soak-sanitize type=Debug sanitize=ON ;;
    *) if [ $numbers -eq 0 ]; then games=$arg; else seed=$arg; fi; numbers=$((numbers + 1)) ;;
    esac
done
scripts/deps.sh
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=$type -DVENDRAL_SANITIZE=$sanitize -DVENDRAL_BUILD_UI=OFF > /dev/null
cmake --build "$dir" -j2 --target core_tests
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
VENDRAL_MONKEY_GAMES=$games VENDRAL_MONKEY_SEED=$seed \
    "$dir/tests/core_tests" --gtest_filter=Monkey.LongRun
