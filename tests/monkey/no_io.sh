#!/usr/bin/env bash
# The game writes no files and opens no connection. Plays a short game
# under strace, once on the game logic alone and once through the real
# window (Qt's offscreen platform), and, where an X server and xdotool are
# at hand, runs the game binary itself: the name typed at the prompt, the
# help boxes closed with Enter, then the screen closed from its title bar
# (WM_DELETE_WINDOW), which must end the process at once and cleanly.
#
# Usage: no_io.sh REPLAY [GAME]   (REPLAY: vendral-replay, GAME: vendral)
set -euo pipefail
replay=$(realpath "$1")
game=${2:+$(realpath "$2")}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true' EXIT
command -v strace >/dev/null || { echo "no_io: strace is missing (scripts/deps.sh strace)"; exit 1; }

# What a traced run did wrong: a file opened to be written, a network
# socket, or a connection to anything but the display. Qt and the libraries
# below it read plenty (fonts, plug-ins, locale); the only writable things
# allowed are the terminal and /dev/null, plus fontconfig's own cache of
# the system's fonts. A window talks to its X server over a local socket,
# and the C library may ask the local name-service cache who the user is.
verdict() {
    local log=$1 bad
    bad=$(grep -E '(^|[] ])(open|openat|creat)\(' "$log" \
        | grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|creat\(' \
        | grep -vE '"/dev/(null|tty|pts/[0-9]+)"' \
        | grep -vE 'fontconfig/[^"]*"' \
        | grep -v ' = -1 ' || true)
    bad+=$(grep -E '(^|[] ])socket\(' "$log" | grep -v 'socket(AF_UNIX' || true)
    bad+=$(grep -E '(^|[] ])connect\(' "$log" | grep -v ' = -1 ' |
        grep -vE 'sun_path=@?"(/tmp/\.X11-unix/X[0-9]+|/var/run/nscd/socket)"' || true)
    if [ -n "$bad" ]; then
        echo "no_io: $2 wrote a file or opened a connection:"
        echo "$bad"
        return 1
    fi
    local opens
    opens=$(grep -cE '(open|openat)\(' "$log" || true)
    echo "no_io: $2: $opens files opened, none for writing, no connection but the display"
}

# A sanitizer's leak check cannot run under strace; the other checks can.
trace() { ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" strace -f -qq -e trace=openat,open,creat,socket,connect -o "$1" "${@:2}"; }

# A short game through both journeys to the battle, a cheat and the ending.
script="$work/game.script"
cat > "$script" <<'EOF'
name Tom
click Form1.cmdknight
click Form1.cmdstart
click Form1.Command2
click Form1.Command3
click Form1.Command6
click Form1.lbltime
wait 2500
EOF
cat > "$work/ending.script" <<'EOF'
name Tom
click Form1.cmdwizard
type Form1.txtjump TEKAVURM
click Form1.cmdverify
click Form1.Command138
click Form3.Command53
wait 16000
click Form4.lblactivate
click Form4.cmdfury
click Form6.suprwizard
wait 3000
click Form6.cmdquit
EOF

cd "$work"
status=0
trace "$work/headless.log" "$replay" "$script" > /dev/null
trace "$work/headless2.log" "$replay" "$work/ending.script" > "$work/ending.out"
grep -q '^end$' "$work/ending.out" || { echo "no_io: the ending script did not end the game"; exit 1; }
verdict "$work/headless.log" "the scripted player" || status=1
verdict "$work/headless2.log" "the scripted player to the ending" || status=1

if QT_QPA_PLATFORM=offscreen "$replay" --window /dev/null > /dev/null 2>&1; then
    QT_QPA_PLATFORM=offscreen trace "$work/window.log" "$replay" --window "$work/ending.script" > "$work/window.out" 2>/dev/null
    grep -q '^end$' "$work/window.out" || { echo "no_io: the window did not end the game"; exit 1; }
    verdict "$work/window.log" "the scripted player in the window" || status=1
fi

# The game binary itself, on a private X server.
if [ -n "$game" ] && command -v Xvfb >/dev/null && command -v xdotool >/dev/null && command -v cc >/dev/null &&
    cc -o "$work/close" "$here/close_window.c" -lX11 2>/dev/null; then
    display=:$((90 + RANDOM % 9))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=$display
    for _ in $(seq 50); do xdotool getmouselocation > /dev/null 2>&1 && break; sleep 0.1; done
    QT_QPA_PLATFORM=xcb trace "$work/game.log" "$game" &
    pid=$!
    stuck() {
        echo "no_io: the game binary did not show $1"
        kill "$pid" 2>/dev/null
        exit 1
    }
    # The name prompt, then the two help boxes.
    prompt=$(timeout 20 xdotool search --sync --onlyvisible --name '^Vendral$' | head -1)
    [ -n "$prompt" ] || stuck "its name prompt"
    timeout 10 xdotool windowfocus --sync "$prompt" type --delay 20 "Tom"
    timeout 10 xdotool key --delay 50 Return
    for _ in 1 2; do
        sleep 0.5
        box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Vendral$' | head -1)
        [ -n "$box" ] || stuck "its help boxes"
        timeout 10 xdotool windowfocus --sync "$box" key Return
    done
    screen=$(timeout 20 xdotool search --sync --onlyvisible --name 'The Vendral for The Treasure' | head -1)
    [ -n "$screen" ] || stuck "its first screen"
    "$work/close" "$screen"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "no_io: the game went on running after its screen was closed"
        kill "$pid"
        exit 1
    fi
    wait "$pid" && echo "no_io: the game ended at once and cleanly when its screen was closed" ||
        { echo "no_io: the game ended badly when its screen was closed"; status=1; }
    verdict "$work/game.log" "the game" || status=1
fi
exit $status
