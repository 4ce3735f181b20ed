#!/usr/bin/env bash
# The panel icon on a real panel: waybar's tray (watcher and host in one) in sway, started
# headless here with its own session bus and XDG_RUNTIME_DIR (as nobody when run by root: sway
# refuses root), and torn down after. Two alarms run, Hour (an hour away) and Ring (ringing three
# seconds in), each from a folder of its own, on X11 through Xwayland. Checks that waybar lists
# one Pingolet item and that the bar shows its red mark while Ring beeps; clicks the menu's
# "Ring (ringing)/Acknowledge" over D-Bus, as the panel does when the user clicks it, and checks
# that Ring goes quiet and the red mark goes. Screenshots (grim) are kept in the run's folder.
# (sway's headless seat has no pointer, so nobody can open the panel's menu on the screen here.)
#   tests/desktops/panel.sh
# PINGOLET=/path/to/pingolet tests another build; PANEL_SHOTS=DIR gets a copy of the screenshots;
# PANEL_KEEP=1 keeps the temporary folder; PANEL_LIMIT bounds the run (seconds, 90 unless set).
# Prints a PASS or FAIL line for each check; exits non-zero when one failed.
# shellcheck disable=SC2317 # functions called through poll
set -uo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
BAR_HEIGHT=30

# ---- Inside sway (panel.sh --inside OUT): the alarms, the checks -----------------------------
# Writes "PASS what" and "FAIL what: why" lines to $OUT/checks, and "done" when it got through.
inside() {
    OUT=$1
    BIN=$(dirname "${BASH_SOURCE[0]}")
    echo $$ >>"$OUT/pids"
    PIDS=()
    # What it started ends before sway does (Pingolet's X11 server goes with sway).
    trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; swaymsg exit >/dev/null 2>&1' EXIT
    started() { PIDS+=("$1"); echo "$1" >>"$OUT/pids"; }
    pass() { echo "PASS $1" >>"$OUT/checks"; }
    fail() { echo "FAIL $1" >>"$OUT/checks"; }
    give_up() { fail "$1"; exit 1; }
    now_ms() { date +%s%3N; }
    poll() { # poll SECONDS COMMAND...
        local end=$(($(now_ms) + $1 * 1000))
        shift
        until "$@"; do [ "$(now_ms)" -ge "$end" ] && return 1; sleep 0.2; done
    }
    bus_pid() {
        dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.GetConnectionUnixProcessID "string:$1" 2>/dev/null | awk '{ print $2 }'
    }
    panel() { /usr/bin/python3 "$BIN/panel_host.py" "$@" 2>>"$OUT/panel.err"; }
    export XDG_STATE_HOME="$OUT/state" XDG_CONFIG_HOME="$OUT/config" QT_QPA_PLATFORM=xcb

    # The panel first, as a session starts it.
    waybar -c "$OUT/waybar.json" -s "$OUT/waybar.css" >"$OUT/waybar.log" 2>&1 &
    WAYBAR=$!
    started "$WAYBAR"
    host_ready() {
        dbus-send --session --print-reply=literal --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
            org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
            string:IsStatusNotifierHostRegistered 2>/dev/null | grep -q true
    }
    poll 15 host_ready || give_up "waybar's tray: no StatusNotifierWatcher with a host within 15 s"
    [ "$(bus_pid org.kde.StatusNotifierWatcher)" = "$WAYBAR" ] ||
        give_up "the StatusNotifierWatcher is not waybar's (pid $(bus_pid org.kde.StatusNotifierWatcher))"

    # Two alarms, each from its own copy in a folder of its own.
    start() { # start NAME ARGS...: sets PID
        local name=$1
        shift
        mkdir -p "$OUT/$name"
        cp "$BIN/pingolet" "$OUT/$name/pingolet"
        (cd "$OUT/$name" && exec ./pingolet "$@") >>"$OUT/pingolet.log" 2>&1 &
        PID=$!
        started "$PID"
    }
    start hour /t2=5 /ss=1h /m=Hour
    HOUR=$PID
    start ring /t2=5 /ss=3s /dd=1h /m=Ring
    RING=$PID
    ring_state() {
        "$OUT/hour/pingolet" --list --json 2>/dev/null | /usr/bin/python3 -c \
            'import json, sys; print(next((a["state"] for a in json.load(sys.stdin) if a["title"] == "Ring"), "none"))'
    }
    in_state() { STATE=$(ring_state); [ "$STATE" = "$1" ]; }
    items() { ITEMS=$(panel items); }
    one_item() { items && [ -n "$ITEMS" ] && [ "$(wc -l <<<"$ITEMS")" -eq 1 ]; }
    poll 20 one_item || give_up "one item in waybar's tray: it lists \"$(paste -sd' ' <<<"$ITEMS")\""
    poll 15 in_state beeping || give_up "Ring beeping: its state is \"$STATE\""
    sleep 1.5 # both programs had their chance to show an item of their own
    owner=$(bus_pid "${ITEMS%%/*}")
    if ! one_item; then
        fail "one Pingolet item in waybar's tray: it lists \"$(paste -sd' ' <<<"$ITEMS")\""
    elif [ "$owner" != "$HOUR" ] && [ "$owner" != "$RING" ]; then
        fail "one Pingolet item in waybar's tray: the item $ITEMS is pid ${owner:-?}'s"
    else
        pass "one Pingolet item in waybar's tray ($ITEMS, pid $owner's)"
    fi

    # The bar's picture: red pixels in it, and where they are.
    shot() { # shot NAME: NAME.png; prints "COUNT X Y" of the red pixels in the bar, -1 for none
        grim "$OUT/$1.png" 2>>"$OUT/grim.log" && grim -t ppm "$OUT/$1.ppm" 2>>"$OUT/grim.log" ||
            { echo "-1 -1 -1"; return; }
        /usr/bin/python3 - "$OUT/$1.ppm" "$BAR_HEIGHT" <<'EOF'
import sys
data = open(sys.argv[1], "rb").read()
fields, pos = [], 0
while len(fields) < 4:  # P6, width, height, maximum; comments are not written by grim
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pixels = data[pos + 1:]
width, height = int(fields[1]), int(fields[2])
rows = [pixels[y * width * 3:(y + 1) * width * 3] for y in range(height)]
# The mark's red (E01010), not the darker red of the icon's clock (D63028).
red = [(x, y) for y in range(int(sys.argv[2])) for x in range(width)
       if rows[y][3 * x] >= 0xD8 and rows[y][3 * x + 1] <= 0x20 and rows[y][3 * x + 2] <= 0x20]
if red:
    print(len(red), sum(x for x, _ in red) // len(red), sum(y for _, y in red) // len(red))
else:
    print(0, -1, -1)
EOF
        rm -f "$OUT/$1.ppm"
    }
    red_shown() { read -r RED X Y < <(shot bar); [ "$RED" -ge 20 ]; }
    if poll 5 red_shown; then
        pass "the red mark in the bar while Ring beeps ($RED red pixels at $X,$Y)"
    else
        fail "the red mark in the bar while Ring beeps: $RED red pixels in the bar (-1: no picture)"
    fi

    # The menu's Acknowledge, clicked as the panel does it (dbusmenu's Event "clicked").
    menu=$(panel menu)
    if ! grep -qx 'Ring (ringing)/Acknowledge' <<<"$menu"; then
        fail "Acknowledge in the menu: it holds \"$(tr '\n' '|' <<<"$menu")\""
    elif ! panel click "Ring (ringing)/Acknowledge"; then
        fail "Acknowledge in the menu: the click failed ($(tail -n1 "$OUT/panel.err"))"
    elif poll 5 in_state idle; then
        pass "Ring idle after the menu's Acknowledge"
    else
        fail "Ring idle after the menu's Acknowledge: its state is \"$STATE\""
    fi
    red_gone() { read -r RED _ _ < <(shot after); [ "$RED" -ge 0 ] && [ "$RED" -lt 3 ]; }
    if poll 5 red_gone; then
        pass "no red mark in the bar once Ring is quiet"
    else
        fail "no red mark in the bar once Ring is quiet: $RED red pixels in the bar (-1: no picture)"
    fi
    echo "done" >>"$OUT/checks"
    exit 0
}
if [ "${1:-}" = --inside ]; then
    inside "$2"
fi

# ---- Outside: the packages, the session, the verdict -----------------------------------------
ROOT="$(cd "$HERE/../.." && pwd)"
. "$ROOT/scripts/packages.sh"
# shellcheck disable=SC2086
install_missing $PANEL_PACKAGES || exit 1
LIMIT=${PANEL_LIMIT:-90}
PINGOLET=${PINGOLET:-$ROOT/build-tests/pingolet}
[ -x "$PINGOLET" ] || { echo "No program at $PINGOLET: build it first (./test.sh does)"; exit 1; }
# Everything runs as another user, who may not enter the folder of this clone: what the session
# runs or reads is copied here first.
WORK=$(mktemp -d /tmp/pingolet-panel.XXXXXX)
chmod 755 "$WORK"
mkdir "$WORK/bin"
cp "$PINGOLET" "$WORK/bin/pingolet"
cp "$HERE/panel.sh" "$HERE/../e2e/panel_host.py" "$WORK/bin/"
chmod -R a+rX "$WORK/bin"
OUT="$WORK/run"
RUNTIME="$OUT/runtime"
mkdir -p "$OUT" "$RUNTIME" "$OUT/home"
chmod 700 "$RUNTIME"
: >"$OUT/checks"
: >"$OUT/pids"
# What the session started (sway's own commands run in sessions of their own) and left running
# when it was stopped.
stop_leftovers() {
    local p
    while read -r p; do
        grep -qsz "^XDG_RUNTIME_DIR=$RUNTIME\$" "/proc/$p/environ" && kill -KILL "$p" 2>/dev/null
    done <"$OUT/pids"
}
cleanup() {
    stop_leftovers
    if [ -n "${PANEL_SHOTS:-}" ]; then
        mkdir -p "$PANEL_SHOTS" && cp "$OUT"/*.png "$PANEL_SHOTS/" 2>/dev/null
    fi
    [ -n "${PANEL_KEEP:-}" ] && { echo "Kept $WORK"; return; }
    rm -rf "$WORK"
}
trap cleanup EXIT
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER XAUTHORITY
AS_USER=()
[ "$(id -u)" -eq 0 ] && AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)

# A bar with the tray alone: no module that wants a system service.
cat >"$OUT/waybar.json" <<EOS
{ "layer": "top", "position": "top", "height": $BAR_HEIGHT, "modules-left": [], "modules-center": [],
  "modules-right": ["tray"], "tray": { "icon-size": 22, "spacing": 6 } }
EOS
cat >"$OUT/waybar.css" <<EOS
* { font-family: sans-serif; font-size: 12px; }
window#waybar { background: #334; }
EOS
cat >"$OUT/sway.conf" <<EOS
xwayland enable
output HEADLESS-1 resolution 1280x800
exec bash "$WORK/bin/panel.sh" --inside "$OUT"
EOS
[ ${#AS_USER[@]} -gt 0 ] && chown -R 65534:65534 "$OUT"

start=$(date +%s)
setsid "${AS_USER[@]}" env HOME="$OUT/home" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- \
    env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$OUT/sway.conf" \
    >"$OUT/sway.log" 2>&1 &
SESSION=$!
end=$((start + LIMIT))
while kill -0 "$SESSION" 2>/dev/null; do
    if [ "$(date +%s)" -ge "$end" ]; then
        echo "FAIL the run ended in time: stopped after $LIMIT s (PANEL_LIMIT)" >>"$OUT/checks"
        stop_leftovers
        kill -TERM -- "-$SESSION" 2>/dev/null
        sleep 2
        kill -KILL -- "-$SESSION" 2>/dev/null
        break
    fi
    sleep 0.2
done
wait "$SESSION" 2>/dev/null
kill -TERM -- "-$SESSION" 2>/dev/null # whatever the session left running
stop_leftovers

grep -qx "done" "$OUT/checks" || grep -q '^FAIL' "$OUT/checks" ||
    echo "FAIL the checks ran to their end: the session ended early (see sway.log)" >>"$OUT/checks"
grep -v '^done$' "$OUT/checks"
shots=${PANEL_SHOTS:-${PANEL_KEEP:+$OUT}}
echo "($(($(date +%s) - start)) s${shots:+; screenshots in $shots})"
! grep -q '^FAIL' "$OUT/checks"
