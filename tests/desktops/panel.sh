#!/usr/bin/env bash
# The panel icon on a real panel, run by run.sh inside sway (its desktop "waybar"): waybar's tray
# (watcher and host in one), then two alarms, Hour (an hour away) and Ring (ringing three seconds
# in), each from a folder of its own, on X11 through Xwayland. Checks that waybar lists one
# Pingolet item and that the bar shows its red mark while Ring beeps; clicks the menu's
# "Ring (ringing)/Acknowledge" over D-Bus, as the panel does when the user clicks it, and checks
# that Ring goes quiet and the red mark goes. Screenshots (grim) are kept in the run's folder.
# (sway's headless seat has no pointer, so nobody can open the panel's menu on the screen here.)
#   panel.sh OUT
# Writes "PASS what" and "FAIL what: why" lines to OUT/checks, and "done" when it got through.
# shellcheck disable=SC2317 # functions called through poll
set -uo pipefail
BAR_HEIGHT=30

main() {
    OUT=$1
    BIN=$(dirname "${BASH_SOURCE[0]}")
    PIDS=()
    # What it started ends before sway does (Pingolet's X11 server goes with sway).
    trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; swaymsg exit >/dev/null 2>&1' EXIT
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

    # The panel first, as a session starts it: a bar with the tray alone, no module that wants a
    # system service.
    cat >"$OUT/waybar.json" <<EOS
{ "layer": "top", "position": "top", "height": $BAR_HEIGHT, "modules-left": [], "modules-center": [],
  "modules-right": ["tray"], "tray": { "icon-size": 22, "spacing": 6 } }
EOS
    cat >"$OUT/waybar.css" <<EOS
* { font-family: sans-serif; font-size: 12px; }
window#waybar { background: #334; }
EOS
    waybar -c "$OUT/waybar.json" -s "$OUT/waybar.css" >"$OUT/waybar.log" 2>&1 &
    WAYBAR=$!
    PIDS+=("$WAYBAR")
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
        PIDS+=("$PID")
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
    owner=$(panel pids)
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
import re, sys
data = open(sys.argv[1], "rb").read()
header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", data)  # grim writes no comments
width, height = int(header[1]), int(header[2])
pixels = data[header.end():]
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
main "$1"
