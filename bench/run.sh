#!/usr/bin/env bash
# Vendral's benchmarks, side by side with a bare Qt 6 Widgets program, and
# the web page's side by side with a bare page in the same headless Chromium.
#
#   bench/run.sh         the desktop game (Qt)
#   bench/run.sh web     the web page only (bench/web/bench.mjs)
#   bench/run.sh all     both, one after the other
#   bench/run.sh replay  the headless run of the scripted player only (no display)
#
# Installs what is missing, builds the game and the harnesses in Release in
# their own build directory (build-bench, or $VENDRAL_BENCH_BUILD), starts a
# virtual X display if none is set, runs everything inside its own D-Bus
# session bus where dbus-run-session exists, and prints a table of medians.
# Each figure is taken $RUNS times (at least 5), the game and the bare Qt
# program in turn, so that a machine getting slower or faster meanwhile
# weighs on both alike.
#
# The web part needs the built page (build-web/site, or $VENDRAL_WEB_SITE;
# scripts/web.sh --no-serve builds it when it is missing), Debian's Chromium
# and Node.js; each of its runs is a fresh Chromium with a profile of its own.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VENDRAL_BENCH_BUILD:-$root/build-bench}
runs=${RUNS:-5}
[ "$runs" -ge 5 ] 2>/dev/null || { echo "bench: RUNS must be a number of at least 5" >&2; exit 2; }
part=${1:-qt}
case "$part" in
  qt | web | all | replay) ;;
  *) echo "usage: bench/run.sh [qt|web|all|replay]" >&2; exit 2 ;;
esac

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

declare -A v  # v[figure.side] = the runs' values, space-separated
add() { v[$1]="${v[$1]:-} $2"; }
m() { median ${v[$1]}; }

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

if [ "$part" = replay ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVENDRAL_BUILD_UI=ON \
    -DVENDRAL_BUILD_TESTS=OFF -DVENDRAL_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target vendral-replay bench-process bench-echo >/dev/null
  replay_measure
  echo
  echo "Vendral headless run, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
    "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1); medians of $runs runs"
  echo
  echo "| figure | Vendral | echo | ratio | target | met |"
  echo "|---|---|---|---|---|---|"
  replay_row
  echo
  echo "Every run (Vendral | echo): ${v[proc.game]# }  |  ${v[proc.bare]# }"
  exit 0
fi

# --- The web page ------------------------------------------------------------------
# Each figure beside a bare page (bench/web/bare/) served by the same server
# in the same headless Chromium, the game's page and the bare page in turn.
web_bench() {
  local site=${VENDRAL_WEB_SITE:-$root/build-web/site}
  local extra=(chromium gzip)
  command -v node >/dev/null || extra+=(nodejs)
  command -v npm >/dev/null || extra+=(npm)
  "$root/scripts/deps.sh" "${extra[@]}"
  [ -f "$site/index.html" ] || "$root/scripts/web.sh" --no-serve
  [ -d "$root/bench/web/node_modules/playwright-core" ] ||
    (cd "$root/bench/web" && npm ci --no-audit --no-fund >/dev/null)
  export VENDRAL_WEB_SITE=$site
  local harness=$root/bench/web/bench.mjs out side i k

  # One run of the harness into $out. A run that fails is tried once more
  # (and listed under the table); a second failure ends the benchmark.
  web_run() {
    local try
    for try in 1 2; do
      if out=$(node "$harness" "$@"); then return 0; fi
      add retries.web "[$*]"
      [ "$try" = 1 ] && progress "web $*: the run failed; once more"
    done
    echo "bench: web $* failed twice" >&2
    exit 1
  }

  progress "web: page transfer"
  web_run transfer
  local transfer=$out

  # A browser's startup swings by a factor of four from run to run here:
  # three times as many runs for its median.
  local startup_runs=$((runs * 3))
  progress "web startup: navigation → name prompt open ($startup_runs runs each, after one unrecorded run of each)"
  web_run startup game
  web_run startup bare
  for ((i = 0; i < startup_runs; i++)); do
    for side in game bare; do
      web_run startup "$side"
      add wstart.$side "$(pick prompt_open_ms "$out")"
      add wframe.$side "$(pick prompt_frame_ms "$out")"
      add wwasm.$side "$(pick wasm_received_ms "$out")"
    done
  done

  progress "web CPU: Final Battle idle after Nilrem's reveal, and the ending's credits (about $((runs * 2)) min)"
  for ((i = 0; i < runs; i++)); do
    for side in game bare; do
      web_run idle "$side"
      add widle.$side "$(pick cpu_percent "$out")"
      add widlewake.$side "$(pick wakeups_per_s "$out")"
      add widleother.$side "$(pick other_cpu_percent "$out")"
    done
    for side in game bare; do
      web_run credits "$side"
      add wcred.$side "$(pick cpu_percent "$out")"
      add wcredwake.$side "$(pick wakeups_per_s "$out")"
      add wcredother.$side "$(pick other_cpu_percent "$out")"
      add wcredsteps.$side "$(pick first_line_steps "$out")"
    done
  done

  local kb biggest
  kb=$(awk -v b="$(pick gzip_bytes "$transfer")" 'BEGIN { printf "%.1f", b / 1000 }')
  biggest=$(sed -n 's/^file=//p' <<<"$transfer" | head -n3 | awk '{ printf "%s%s %.1f", (NR > 1 ? ", " : ""), $1, $3 / 1000 }')
  local start_g start_b idle_g idle_b cred_g cred_b
  start_g=$(m wstart.game) start_b=$(m wstart.bare)
  idle_g=$(m widle.game) idle_b=$(m widle.bare)
  cred_g=$(m wcred.game) cred_b=$(m wcred.bare)

  echo
  echo "Vendral web page benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
    "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)," \
    "Chromium $(dpkg-query -W -f='${Version}' chromium 2>/dev/null | cut -d- -f1) headless;" \
    "medians of $startup_runs runs (startup) and $runs runs (CPU)"
  echo
  echo "| figure | Vendral page | bare page | ratio | target | met |"
  echo "|---|---|---|---|---|---|"
  printf '| page transfer: every file of the built page, gzip -9 (KB) | %s | — | — | ≤ 250 KB | %s |\n' \
    "$kb" "$(met "$kb" '<=' 250)"
  printf '| … the biggest (KB gzipped) | %s | | | | |\n' "$biggest"
  printf '| startup: navigation → name prompt open (ms) | %.0f | %.0f | %s | ≤ 1.5× | %s |\n' \
    "$start_g" "$start_b" "$(ratio "$start_g" "$start_b")" "$(within "$start_g" "$start_b" 1.5)"
  printf '| … its module received (ms) | %.0f | %.0f | | | |\n' "$(m wwasm.game)" "$(m wwasm.bare)"
  printf '| CPU, Final Battle idle 10 s after Nilrem shows himself / a page rewriting a clock label every second (%% of a core, renderer processes) | %.2f | %.2f | %s | ≤ 1.5× | %s |\n' \
    "$idle_g" "$idle_b" "$(ratio "$idle_g" "$idle_b")" "$(within "$idle_g" "$idle_b" 1.5)"
  printf '| … their wake-ups a second | %.0f | %.0f | | | |\n' "$(m widlewake.game)" "$(m widlewake.bare)"
  printf '| … the browser'"'"'s other processes, not counted (%% of a core) | %.2f | %.2f | | | |\n' \
    "$(m widleother.game)" "$(m widleother.bare)"
  printf '| CPU, ending with its six credits lines rising / six 4–9 ms timers moving six labels (%% of a core, renderer processes) | %.2f | %.2f | %s | ≤ 1× | %s |\n' \
    "$cred_g" "$cred_b" "$(ratio "$cred_g" "$cred_b")" "$(within "$cred_g" "$cred_b" 1)"
  printf '| … their wake-ups a second | %.0f | %.0f | | | |\n' "$(m wcredwake.game)" "$(m wcredwake.bare)"
  printf '| … the browser'"'"'s other processes, not counted (%% of a core) | %.2f | %.2f | | | |\n' \
    "$(m wcredother.game)" "$(m wcredother.bare)"
  printf '| … steps the first line rose in the 10 s (one a tick of its 4 ms timer: 2500) | %.0f | %.0f | | | |\n' \
    "$(m wcredsteps.game)" "$(m wcredsteps.bare)"
  echo
  echo "Every file (bytes, gzip -9 bytes):"
  sed -n 's/^file=/  /p' <<<"$transfer"
  echo "Every run (Vendral page | bare page):"
  for k in wstart wframe wwasm widle widlewake widleother wcred wcredwake wcredother wcredsteps; do
    printf '  %-11s %s  |  %s   (spread %s | %s)\n' "$k" "${v[$k.game]# }" "${v[$k.bare]# }" \
      "$(span ${v[$k.game]})" "$(span ${v[$k.bare]})"
  done
  if [ -n "${v[retries.web]:-}" ]; then echo "Runs that failed once and were taken again:${v[retries.web]}"; fi
}

if [ "$part" = web ]; then
  web_bench
  exit 0
fi

if [ "${VENDRAL_BENCH_STAGE:-}" != measure ]; then
  # --- Build -----------------------------------------------------------------
  "$root/scripts/deps.sh" xvfb x11-utils libx11-dev dbus-bin
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVENDRAL_BUILD_UI=ON \
    -DVENDRAL_BUILD_TESTS=OFF -DVENDRAL_BUILD_BENCH=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target vendral bench-mapwatch bench-headless bench-bare-qt bench-game-ui \
    vendral-replay bench-process bench-echo >/dev/null

  # --- Display and session bus ------------------------------------------------
  xvfb_pid=""
  runtime=$(mktemp -d)
  cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$runtime"
  }
  trap cleanup EXIT
  if [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display number and writes it into the file.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$runtime/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [ -s "$runtime/display" ] && break
      sleep 0.1
    done
    [ -s "$runtime/display" ] || { echo "bench: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$runtime/display")"
  fi
  xdpyinfo >/dev/null 2>&1 || { echo "bench: cannot reach the display $DISPLAY" >&2; exit 1; }
  mkdir -m 700 "$runtime/xdg"
  export XDG_RUNTIME_DIR="$runtime/xdg"
  export VENDRAL_BENCH_STAGE=measure VENDRAL_BENCH_BUILD="$build" RUNS="$runs"
  if command -v dbus-run-session >/dev/null; then
    dbus-run-session -- bash "${BASH_SOURCE[0]}" qt 2> >(grep --line-buffered -v 'Failed to set fd limit' >&2)
  else
    bash "${BASH_SOURCE[0]}" qt
  fi
  [ "$part" != all ] || web_bench
  exit 0
fi

# --- Measure -------------------------------------------------------------------
bin=$build
watch=$bin/bench/bench-mapwatch
game=$bin/vendral
bare=$bin/bench/bench-bare-qt
gameui=$bin/bench/bench-game-ui
headless=$bin/bench/bench-headless

progress "startup: exec → name prompt mapped ($runs runs each, after one unrecorded start of each)"
"$watch" --title Vendral -- "$game" >/dev/null
"$watch" --title Vendral -- "$bare" startup >/dev/null
for ((i = 0; i < runs; i++)); do
  out=$("$watch" --title Vendral -- "$game")
  add start.game "$out"
  out=$("$watch" --title Vendral -- "$bare" startup)
  add start.bare "$out"
done

progress "peak memory"
mb() { awk '{printf "%.1f", $1 / 1024}' <<<"$(pick peak_rss_kb "$1")"; }
for ((i = 0; i < runs; i++)); do
  out=$("$gameui" memory)
  add rss.game "$(mb "$out")"
  out=$("$bare" memory)
  add rss.bare "$(mb "$out")"
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
scripts=("$root"/bench/playthroughs/*.script)
for ((i = 0; i < runs; i++)); do
  out=$("$headless" --seconds 1 --skip-waits "${scripts[@]}")
  add play.game "$(pick playthroughs_per_s "$out")"
  out=$("$headless" --seconds 1 "$root/bench/playthroughs/knight_full.script")
  add playcred.game "$(pick playthroughs_per_s "$out")"
done
replay_measure

# --- Table -----------------------------------------------------------------------
start_g=$(m start.game); start_b=$(m start.bare); start_r=$(awk -v a="$start_g" -v b="$start_b" 'BEGIN{print a/b}')
rss_g=$(m rss.game); rss_b=$(m rss.bare); rss_r=$(awk -v a="$rss_g" -v b="$rss_b" 'BEGIN{print a/b}')
idle_g=$(m idle.game); idle_b=$(m idle.bare)
cred_g=$(m cred.game); cred_b=$(m cred.bare)
play_g=$(m play.game); playcred_g=$(m playcred.game)

echo
echo "Vendral benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
  "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1), Qt $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null | cut -d+ -f1)," \
  "display $DISPLAY; medians of $runs runs"
echo
echo "| figure | Vendral | bare Qt | ratio | target | met |"
echo "|---|---|---|---|---|---|"
printf '| startup: exec → name prompt mapped (ms) | %.1f | %.1f | %s | ≤ 1.3× | %s |\n' \
  "$start_g" "$start_b" "$(ratio "$start_g" "$start_b")" "$(met "$start_r" '<=' 1.3)"
printf '| peak memory, all six screens shown once / one window and its boxes (MB) | %.1f | %.1f | %s | ≤ 1.3× | %s |\n' \
  "$rss_g" "$rss_b" "$(ratio "$rss_g" "$rss_b")" "$(met "$rss_r" '<=' 1.3)"
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
  "$play_g" "$(met "$play_g" '>=' 1000)"
printf '| … the knight'"'"'s game watching 10 s of credits before "Quit" | %.0f | — | — | | |\n' "$playcred_g"
replay_row
echo
echo "Every run (Vendral | bare Qt):"
for k in start rss idle idlewake cred credwake credmain play playcred proc; do
  printf '  %-9s %s' "$k" "${v[$k.game]# }"
  [ -n "${v[$k.bare]:-}" ] && printf '  |  %s' "${v[$k.bare]# }"
  printf '   (spread %s' "$(span ${v[$k.game]})"
  [ -n "${v[$k.bare]:-}" ] && printf ' | %s' "$(span ${v[$k.bare]})"
  printf ')\n'
done
