#!/usr/bin/env bash
# Plays Vendral by keyboard under the Orca screen reader and checks what it
# said: the news after each step, the repeat key, never an internal name,
# never a clock tick. Orca runs without a sound device and writes what it
# would say to its debug file; the utterances are printed.
# Usage: bench/orca/orca_check.sh [BUILD_DIR]   (default: build)
# Takes about two minutes: Orca is given a second for every key.
# Needs: orca python3-pyatspi at-spi2-core xvfb xdotool dbus
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
game="$build/vendral"
[ -x "$game" ] || { echo "no game at $game" >&2; exit 2; }
for tool in orca Xvfb xdotool dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done
work="$(mktemp -d)"
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
display=:$((70 + RANDOM % 200))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY="$display" GAME="$game" WORK="$work" HERE="$here"
dbus-run-session -- bash -c '
  /usr/libexec/at-spi-bus-launcher --launch-immediately & bus=$!
  sleep 1
  GSETTINGS_BACKEND=memory orca --replace --debug-file="$WORK/orca.debug" >/dev/null 2>&1 & orca=$!
  sleep 4
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 /usr/bin/python3 "$HERE/orca_play.py" play "$GAME"
  status=$?
  sleep 2
  kill $orca; sleep 1; kill $bus
  exit $status
' 2>"$work/session.log" || { echo "the keyboard play failed:" >&2; tail -5 "$work/session.log" >&2; exit 1; }
# ORCA_DEBUG_OUT=FILE keeps Orca's whole debug file for a closer look.
[ -n "${ORCA_DEBUG_OUT:-}" ] && cp "$work/orca.debug" "$ORCA_DEBUG_OUT"
/usr/bin/python3 "$here/orca_play.py" check "$work/orca.debug"
