#!/usr/bin/env bash
# Takes docs/screenshot.png: Pingolet counting down, in its frame, on a private X server with
# a small window manager.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ROOT/scripts/packages.sh"
# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES xvfb openbox x11-utils xdotool imagemagick

BUILD="$ROOT/build-screenshot"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD" --parallel 2

. "$ROOT/scripts/private-display.sh"
private_work pingolet-shot
start_xvfb 800x500x24
export XDG_RUNTIME_DIR="$WORK"
openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
sleep 1

# A folder of its own, so that no settings file from elsewhere changes what it shows.
cp "$BUILD/pingolet" "$WORK/pingolet"
"$WORK/pingolet" /t1=1 /t2=20 /ss=25m /dd=5m /m=Tea is ready >"$WORK/pingolet.log" 2>&1 &
PIDS+=($!)
WINDOW="$(xdotool search --sync --onlyvisible --pid "${PIDS[-1]}" | head -n1)"
# The counter and the time need a few ticks to settle.
sleep 3
# The frame's corner and size come from the window manager's frame around the client.
FRAME="$(xwininfo -id "$WINDOW" -children | awk '/Parent window id/ {print $4}')"
read -r X Y W H < <(xwininfo -id "$FRAME" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
         /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
import -window root -crop "${W}x${H}+${X}+${Y}" +repage "$ROOT/docs/screenshot.png"
echo "wrote $ROOT/docs/screenshot.png (${W} x ${H})"
