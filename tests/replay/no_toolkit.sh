#!/usr/bin/env bash
# A headless run of the scripted player loads no window toolkit: over a whole
# game, every library the dynamic loader brings in (LD_DEBUG=libs, which sees
# the ones opened at run time too) is looked at, and none may be Qt's. The
# same game with --window must load Qt's widgets, or the check sees nothing.
#
# Usage: no_toolkit.sh REPLAY SCRIPT
set -euo pipefail
replay=$1
script=$2

# The libraries a run initialised, one a line.
loaded() { LD_DEBUG=libs "$@" 2>&1 >/dev/null | sed -n 's/^ *[0-9]*:[[:space:]]*calling init: //p' | sort -u; }

headless=$(loaded "$replay" "$script")
[ -n "$headless" ] || { echo "no_toolkit: LD_DEBUG reported no library at all"; exit 1; }
if grep -i 'qt' <<<"$headless"; then
    echo "no_toolkit: the headless run loaded the libraries above"
    exit 1
fi
echo "no_toolkit: headless, $(wc -l <<<"$headless") libraries, none of Qt: $(xargs -n1 basename <<<"$headless" | xargs)"

window=$(QT_QPA_PLATFORM=offscreen loaded "$replay" --window "$script")
grep -q 'libQt6Widgets' <<<"$window" || { echo "no_toolkit: the --window run loaded no Qt Widgets:"; echo "$window"; exit 1; }
echo "no_toolkit: --window, $(wc -l <<<"$window") libraries, Qt Widgets among them"
