#!/usr/bin/env bash
# Vendral's benchmarks, side by side with a bare Qt 6 Widgets program, and
# the web page's side by side with a bare page in the same headless Chromium.
#
#   bench/run.sh [qt]    the desktop game (Qt), with the headless player's row
#   bench/run.sh web     the web page (bench/web/bench.mjs)
#   bench/run.sh replay  the headless run of the scripted player alone (no display)
#   bench/run.sh all     qt, then web
#
# Environment:
#   RUNS=N                   runs of each figure, at least 5 (default 5)
#   VENDRAL_BENCH_BUILD=DIR  the Release build of the game and the harnesses
#                            (default build-bench)
#   VENDRAL_WEB_SITE=DIR     the built page (default build-web/site; built by
#                            scripts/web.sh --no-serve when missing)
#   VENDRAL_WEB_SECONDS=N    seconds of each web CPU interval (default 10)
#   VENDRAL_CHROMIUM=FILE    the Chromium the web runs start (default /usr/bin/chromium)
#   DISPLAY                  the X display for qt; a virtual one (Xvfb) when unset
#   BENCH_TRACE=1            bench-game-ui memory shows the resident memory
#                            after each step
#
# Installs what is missing and prints a table of medians. Each figure is
# taken $RUNS times, the game and the bare program in turn, so that a
# machine getting slower or faster meanwhile weighs on both alike. The qt
# figures run inside a D-Bus session bus of their own where dbus-daemon
# exists; each web run is a fresh Chromium with a profile of its own.
set -euo pipefail

usage="usage: bench/run.sh [qt|web|replay|all]
  environment: RUNS=N (at least 5), VENDRAL_BENCH_BUILD=DIR, VENDRAL_WEB_SITE=DIR,
  VENDRAL_WEB_SECONDS=N, VENDRAL_CHROMIUM=FILE, DISPLAY, BENCH_TRACE=1"
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VENDRAL_BENCH_BUILD:-$root/build-bench}
runs=${RUNS:-5}
web_seconds=${VENDRAL_WEB_SECONDS:-10}

fail() { echo "bench: $*" >&2; exit 1; }
# The value of KEY in a harness's "key=value" output.
pick() { sed -n "s/^$1=//p" <<<"$2" | head -n1; }
median() { tr ' ' '\n' <<<"$*" | grep . | sort -g | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
span() { tr ' ' '\n' <<<"$*" | grep . | sort -g | awk 'NR==1{lo=$1} {hi=$1} END{printf "%g–%g", lo, hi}'; }
progress() { printf '  %s\n' "$*" >&2; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f×", a / b; else print "—" }'; }
# met VALUE OP LIMIT: "yes" or "NO"
met() { awk -v a="$1" -v l="$3" -v op="$2" 'BEGIN { ok = (op == "<=") ? (a <= l) : (a >= l); print ok ? "yes" : "NO" }'; }
# within A B LIMIT: "yes" if A / B <= LIMIT, else "NO"
within() { met "$(awk -v a="$1" -v b="$2" 'BEGIN { print (b > 0) ? a / b : 1e9 }')" '<=' "$3"; }
cpu_name() { sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1; }

declare -A v  # v[figure.side] = the runs' values, space-separated
add() { v[$1]="${v[$1]:-} $2"; }
m() { median ${v[$1]}; }

# The game and the given harnesses, built in Release in $build.
build_native() {
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVENDRAL_BUILD_UI=ON \
    -DVENDRAL_BUILD_TESTS=OFF -DVENDRAL_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "$@" >/dev/null
}

# --- The headless scripted player ----------------------------------------------------
# One run of vendral-replay playing the wizard's whole game, as a whole
# process, beside bench-echo reading and writing back the same script: each
# of the $runs figures is the median of 100 starts of each, in turn.
replay_measure() {
  progress "headless run: one process playing a whole game, beside one echoing its script"
  local i out
  for ((i = 0; i < runs; i++)); do
    out=$("$build/bench/bench-process" 100 "$root/bench/playthroughs/wizard_full.script" \
      "$build/vendral-replay" "$build/bench/bench-echo")
    add proc.game "$(pick replay_ms "$out")"
    add proc.bare "$(pick echo_ms "$out")"
  done
}

replay_row() {
  local g b
  g=$(m proc.game) b=$(m proc.bare)
  printf '| headless run: vendral-replay playing a whole game / a program echoing its script, each a whole process (ms) | %.2f | %.2f | %s | ≤ 1.5× | %s |\n' \
    "$g" "$b" "$(ratio "$g" "$b")" "$(within "$g" "$b" 1.5)"
}

bench_replay() {
  build_native vendral-replay bench-process bench-echo
  replay_measure
  echo
  echo "Vendral headless run, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(cpu_name); medians of $runs runs"
  echo
  echo "| figure | Vendral | echo | ratio | target | met |"
  echo "|---|---|---|---|---|---|"
  replay_row
  echo
  echo "Every run (Vendral | echo): ${v[proc.game]# }  |  ${v[proc.bare]# }"
}

# --- The desktop game ------------------------------------------------------------------

# A virtual X display when none is set, and a D-Bus session bus of the
# benchmark's own where dbus-daemon exists (the toolkit asks for one); both
# are ended when the script ends.
qt_session() {
  session_dir=$(mktemp -d)
  xvfb_pid="" bus_pid=""
  trap qt_session_end EXIT
  if [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display number and writes it into the file.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session_dir/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ -s "$session_dir/display" ] && break
      sleep 0.1
    done
    [ -s "$session_dir/display" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$session_dir/display")"
  fi
  xdpyinfo >/dev/null 2>&1 || fail "cannot reach the display $DISPLAY"
  mkdir -m 700 "$session_dir/xdg"
  export XDG_RUNTIME_DIR="$session_dir/xdg"
  if command -v dbus-daemon >/dev/null; then
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null) || fail "dbus-daemon did not start"
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
    bus_pid=$(sed -n 2p <<<"$bus")
  fi
}

qt_session_end() {
  [ -z "${bus_pid:-}" ] || kill "$bus_pid" 2>/dev/null || true
  [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "${session_dir:-}"
}

qt_measure() {
  local watch=$build/bench/bench-mapwatch game=$build/vendral bare=$build/bench/bench-bare-qt
  local gameui=$build/bench/bench-game-ui headless=$build/bench/bench-headless i out

  progress "startup: exec → name prompt mapped ($runs runs each, after one unrecorded start of each)"
  "$watch" --title Vendral -- "$game" >/dev/null
  "$watch" --title Vendral -- "$bare" startup >/dev/null
  for ((i = 0; i < runs; i++)); do
    add start.game "$("$watch" --title Vendral -- "$game")"
    add start.bare "$("$watch" --title Vendral -- "$bare" startup)"
  done

  progress "peak memory"
  mb() { awk '{printf "%.1f", $1 / 1024}' <<<"$(pick peak_rss_kb "$1")"; }
  for ((i = 0; i < runs; i++)); do
    add rss.game "$(mb "$("$gameui" memory)")"
    add rss.bare "$(mb "$("$bare" memory)")"
  done

  progress "CPU: Final Battle idle after Nilrem's reveal, and the ending's credits (about $((runs * 80)) s)"
  for ((i = 0; i < runs; i++)); do
    out=$("$gameui" battle)
    add idle.game "$(pick cpu_percent "$out")"
    add idlewake.game "$(pick wakeups_per_s "$out")"
    out=$("$bare" clock)
    add idle.bare "$(pick cpu_percent "$out")"
    add idlewake.bare "$(pick wakeups_per_s "$out")"
    out=$("$gameui" credits)
    add cred.game "$(pick cpu_percent "$out")"
    add credwake.game "$(pick wakeups_per_s "$out")"
    add credmain.game "$(pick main_wakeups_per_s "$out")"
    out=$("$bare" credits)
    add cred.bare "$(pick cpu_percent "$out")"
    add credwake.bare "$(pick wakeups_per_s "$out")"
    add credmain.bare "$(pick main_wakeups_per_s "$out")"
  done

  progress "headless playthroughs"
  local scripts=("$root"/bench/playthroughs/*.script)
  for ((i = 0; i < runs; i++)); do
    add play.game "$(pick playthroughs_per_s "$("$headless" --seconds 1 --skip-waits "${scripts[@]}")")"
    add playcred.game "$(pick playthroughs_per_s "$("$headless" --seconds 1 "$root/bench/playthroughs/knight_full.script")")"
  done
  replay_measure
}

qt_table() {
  local start_g start_b rss_g rss_b idle_g idle_b cred_g cred_b k
  start_g=$(m start.game) start_b=$(m start.bare)
  rss_g=$(m rss.game) rss_b=$(m rss.bare)
  idle_g=$(m idle.game) idle_b=$(m idle.bare)
  cred_g=$(m cred.game) cred_b=$(m cred.bare)
  echo
  echo "Vendral benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(cpu_name)," \
    "Qt $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null | cut -d+ -f1), display $DISPLAY; medians of $runs runs"
  echo
  echo "| figure | Vendral | bare Qt | ratio | target | met |"
  echo "|---|---|---|---|---|---|"
  printf '| startup: exec → name prompt mapped (ms) | %.1f | %.1f | %s | ≤ 1.3× | %s |\n' \
    "$start_g" "$start_b" "$(ratio "$start_g" "$start_b")" "$(within "$start_g" "$start_b" 1.3)"
  printf '| peak memory, all six screens shown once / one window and its boxes (MB) | %.1f | %.1f | %s | ≤ 1.3× | %s |\n' \
    "$rss_g" "$rss_b" "$(ratio "$rss_g" "$rss_b")" "$(within "$rss_g" "$rss_b" 1.3)"
  printf '| CPU, Final Battle idle 10 s after Nilrem shows himself / a window with a 1 s clock (%% of a core) | %.3f | %.3f | %s | ≤ 1 %% | %s |\n' \
    "$idle_g" "$idle_b" "$(ratio "$idle_g" "$idle_b")" "$(met "$idle_g" '<=' 1)"
  printf '| … its wake-ups a second | %.1f | %.1f | %s | | |\n' \
    "$(m idlewake.game)" "$(m idlewake.bare)" "$(ratio "$(m idlewake.game)" "$(m idlewake.bare)")"
  printf '| CPU, ending with its six credits timers running / six 4–9 ms QTimers moving labels (%% of a core) | %.2f | %.2f | %s | ≤ 3 %% | %s |\n' \
    "$cred_g" "$cred_b" "$(ratio "$cred_g" "$cred_b")" "$(met "$cred_g" '<=' 3)"
  printf '| … its wake-ups a second, all threads | %.0f | %.0f | %s | | |\n' \
    "$(m credwake.game)" "$(m credwake.bare)" "$(ratio "$(m credwake.game)" "$(m credwake.bare)")"
  printf '| … of which the event loop'"'"'s (the game gathers ticks due within 15 ms into one wake-up) | %.0f | %.0f | %s | | |\n' \
    "$(m credmain.game)" "$(m credmain.bare)" "$(ratio "$(m credmain.game)" "$(m credmain.bare)")"
  printf '| headless playthroughs a second, whole games clicked through to "Quit" | %.0f | — | — | ≥ 1000 | %s |\n' \
    "$(m play.game)" "$(met "$(m play.game)" '>=' 1000)"
  printf '| … the knight'"'"'s game watching 10 s of credits before "Quit" | %.0f | — | — | | |\n' "$(m playcred.game)"
  replay_row
  echo
  echo "Every run (Vendral | bare Qt):"
  for k in start rss idle idlewake cred credwake credmain play playcred proc; do
    printf '  %-9s %s' "$k" "${v[$k.game]# }"
    [ -z "${v[$k.bare]:-}" ] || printf '  |  %s' "${v[$k.bare]# }"
    printf '   (spread %s' "$(span ${v[$k.game]})"
    [ -z "${v[$k.bare]:-}" ] || printf ' | %s' "$(span ${v[$k.bare]})"
    printf ')\n'
  done
}

bench_qt() {
  "$root/scripts/deps.sh" xvfb x11-utils libx11-dev dbus-daemon
  build_native vendral bench-mapwatch bench-headless bench-bare-qt bench-game-ui \
    vendral-replay bench-process bench-echo
  qt_session
  qt_measure
  qt_table
}

# --- The web page ------------------------------------------------------------------
# Each figure beside a bare page (bench/web/bare/) served by the same server
# in the same headless Chromium, the game's page and the bare page in turn.
# The harness is tests/web's (its browser, its scripted player and their
# packages), so the web tests' packages are what it needs.

web_prepare() {
  local extra=(chromium gzip)
  command -v node >/dev/null || extra+=(nodejs)
  command -v npm >/dev/null || extra+=(npm)
  "$root/scripts/deps.sh" "${extra[@]}"
  export VENDRAL_WEB_SITE=${VENDRAL_WEB_SITE:-$root/build-web/site}
  [ -f "$VENDRAL_WEB_SITE/index.html" ] || "$root/scripts/web.sh" --no-serve
  [ -f "$VENDRAL_WEB_SITE/index.html" ] || fail "no built page at $VENDRAL_WEB_SITE"
  [ -d "$root/tests/web/node_modules/playwright-core" ] ||
    npm ci --prefix "$root/tests/web" --no-audit --no-fund >/dev/null
}

# One run of the harness into $out. A run that fails is tried once more
# (and listed under the table); a second failure ends the benchmark.
web_run() {
  local try
  for try in 1 2; do
    if out=$(node "$root/bench/web/bench.mjs" "$@"); then return 0; fi
    add retries.web "[$*]"
    [ "$try" = 2 ] || progress "web $*: the run failed; once more"
  done
  fail "web $* failed twice"
}

web_measure() {
  local i side
  progress "web: page transfer"
  web_run transfer
  web_transfer=$out

  # A browser's startup swings by a factor of four from run to run here:
  # three times as many runs for its median.
  web_startup_runs=$((runs * 3))
  progress "web startup: navigation → name prompt open ($web_startup_runs runs each, after one unrecorded run of each)"
  web_run startup game
  web_run startup bare
  for ((i = 0; i < web_startup_runs; i++)); do
    for side in game bare; do
      web_run startup "$side"
      add wstart.$side "$(pick prompt_open_ms "$out")"
      add wframe.$side "$(pick prompt_frame_ms "$out")"
      add wwasm.$side "$(pick wasm_received_ms "$out")"
    done
  done

  # The pointer rests at the page's top left corner on both pages while
  # they are measured (bench.mjs --pointer corner, its default).
  progress "web CPU: Final Battle idle after Nilrem's reveal, and the ending's credits (about $((runs * 2)) min)"
  for ((i = 0; i < runs; i++)); do
    for side in game bare; do
      web_run idle "$side" --seconds "$web_seconds"
      add widle.$side "$(pick cpu_percent "$out")"
      add widlewake.$side "$(pick wakeups_per_s "$out")"
      add widleother.$side "$(pick other_cpu_percent "$out")"
    done
    for side in game bare; do
      web_run credits "$side" --seconds "$web_seconds"
      add wcred.$side "$(pick cpu_percent "$out")"
      add wcredwake.$side "$(pick wakeups_per_s "$out")"
      add wcredother.$side "$(pick other_cpu_percent "$out")"
      add wcredsteps.$side "$(pick first_line_steps "$out")"
    done
  done
}

web_table() {
  local kb biggest start_g start_b idle_g idle_b cred_g cred_b k
  kb=$(awk -v b="$(pick gzip_bytes "$web_transfer")" 'BEGIN { printf "%.1f", b / 1000 }')
  biggest=$(sed -n 's/^file=//p' <<<"$web_transfer" | head -n3 | awk '{ printf "%s%s %.1f", (NR > 1 ? ", " : ""), $1, $3 / 1000 }')
  start_g=$(m wstart.game) start_b=$(m wstart.bare)
  idle_g=$(m widle.game) idle_b=$(m widle.bare)
  cred_g=$(m wcred.game) cred_b=$(m wcred.bare)
  echo
  echo "Vendral web page benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(cpu_name)," \
    "Chromium $(dpkg-query -W -f='${Version}' chromium 2>/dev/null | cut -d- -f1) headless;" \
    "medians of $web_startup_runs runs (startup) and $runs runs (CPU, $web_seconds s each, the pointer resting at the page's top left corner)"
  echo
  echo "| figure | Vendral page | bare page | ratio | target | met |"
  echo "|---|---|---|---|---|---|"
  printf '| page transfer: every file of the built page, gzip -9 (KB) | %s | — | — | ≤ 250 KB | %s |\n' \
    "$kb" "$(met "$kb" '<=' 250)"
  printf '| … the biggest (KB gzipped) | %s | | | | |\n' "$biggest"
  printf '| startup: navigation → name prompt open (ms) | %.0f | %.0f | %s | ≤ 1.5× | %s |\n' \
    "$start_g" "$start_b" "$(ratio "$start_g" "$start_b")" "$(within "$start_g" "$start_b" 1.5)"
  printf '| … its module received (ms) | %.0f | %.0f | | | |\n' "$(m wwasm.game)" "$(m wwasm.bare)"
  printf '| CPU, Final Battle idle after Nilrem shows himself / a page rewriting a clock label every second (%% of a core, renderer processes) | %.2f | %.2f | %s | ≤ 1.5× | %s |\n' \
    "$idle_g" "$idle_b" "$(ratio "$idle_g" "$idle_b")" "$(within "$idle_g" "$idle_b" 1.5)"
  printf '| … their wake-ups a second | %.0f | %.0f | | | |\n' "$(m widlewake.game)" "$(m widlewake.bare)"
  printf '| … the browser'"'"'s other processes, not counted (%% of a core) | %.2f | %.2f | | | |\n' \
    "$(m widleother.game)" "$(m widleother.bare)"
  printf '| CPU, ending with its six credits lines rising / six 4–9 ms timers moving six labels (%% of a core, renderer processes) | %.2f | %.2f | %s | ≤ 1× | %s |\n' \
    "$cred_g" "$cred_b" "$(ratio "$cred_g" "$cred_b")" "$(within "$cred_g" "$cred_b" 1)"
  printf '| … their wake-ups a second | %.0f | %.0f | | | |\n' "$(m wcredwake.game)" "$(m wcredwake.bare)"
  printf '| … the browser'"'"'s other processes, not counted (%% of a core) | %.2f | %.2f | | | |\n' \
    "$(m wcredother.game)" "$(m wcredother.bare)"
  printf '| … steps the first line rose in the interval (one a tick of its 4 ms timer: %d) | %.0f | %.0f | | | |\n' \
    "$((web_seconds * 250))" "$(m wcredsteps.game)" "$(m wcredsteps.bare)"
  echo
  echo "Every file (bytes, gzip -9 bytes):"
  sed -n 's/^file=/  /p' <<<"$web_transfer"
  echo "Every run (Vendral page | bare page):"
  for k in wstart wframe wwasm widle widlewake widleother wcred wcredwake wcredother wcredsteps; do
    printf '  %-11s %s  |  %s   (spread %s | %s)\n' "$k" "${v[$k.game]# }" "${v[$k.bare]# }" \
      "$(span ${v[$k.game]})" "$(span ${v[$k.bare]})"
  done
  [ -z "${v[retries.web]:-}" ] || echo "Runs that failed once and were taken again:${v[retries.web]}"
}

bench_web() {
  web_prepare
  web_measure
  web_table
}

main() {
  if ! [ "$runs" -ge 5 ] 2>/dev/null; then
    echo "bench: RUNS must be a number of at least 5" >&2
    return 2
  fi
  if ! [ "$web_seconds" -ge 1 ] 2>/dev/null; then
    echo "bench: VENDRAL_WEB_SECONDS must be a whole number of seconds" >&2
    return 2
  fi
  if [ $# -gt 1 ]; then
    echo "$usage" >&2
    return 2
  fi
  case "${1:-qt}" in
    qt) bench_qt ;;
    web) bench_web ;;
    replay) bench_replay ;;
    all)
      bench_qt
      bench_web
      ;;
    -h | --help) echo "$usage" ;;
    *)
      echo "$usage" >&2
      return 2
      ;;
  esac
}

main "$@"
