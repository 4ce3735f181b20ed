#!/usr/bin/env bash
# Runs inside one desktop's session (DISPLAY set, WAYLAND_DISPLAY where the desktop has one):
# a user window has the focus and is being typed into when Pingolet's alarm reaches the
# In-Your-Face stage. Writes "KEY=value" lines to $OUT/result and leaves no process behind.
#   DESK      the desktop's name; sway is asked through swaymsg, the others through X11
#   OUT       a folder the session's user may write
#   PINGOLET  the program to run (copied into OUT)
#   USERWIN   x11 (xev, typed into with xdotool) or wayland (wev, not typed into)
set -uo pipefail
PIDS=()
cleanup() {
    local p
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null; done
}
trap cleanup EXIT
result() { echo "$1=$2" >>"$OUT/result"; }
now_ms() { date +%s%3N; }
poll() { # poll SECONDS COMMAND...
    local end=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do [ "$(now_ms)" -ge "$end" ] && return 1; sleep 0.1; done
}
has_name() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}
notifies() { grep -c 'member=Notify$' "$OUT/monitor.log"; }
closes() { grep -c 'member=CloseNotification$' "$OUT/monitor.log"; }

# The bus first, so that the monitor sees everything; a server where the desktop has none.
dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$OUT/monitor.log" 2>&1 &
PIDS+=($!)
if ! has_name org.freedesktop.Notifications; then
    # dunst draws on X11 everywhere; a compositor without layer-shell has no place for it.
    WAYLAND_DISPLAY='' dunst >"$OUT/dunst.log" 2>&1 &
    PIDS+=($!)
    poll 10 has_name org.freedesktop.Notifications || { result error "dunst did not start"; exit 1; }
    result server dunst
else
    result server own
fi

# The user's window, with the focus.
if [ "$USERWIN" = wayland ]; then
    stdbuf -oL wev -f xdg_toplevel:configure >"$OUT/user.log" 2>&1 &
    PIDS+=($!)
    poll 10 grep -q activated "$OUT/user.log" || { result error "wev never had the focus"; exit 1; }
else
    xev -name userwin -event keyboard -event focus >"$OUT/user.log" 2>&1 &
    PIDS+=($!)
    poll 10 eval 'USER_WIN=$(xdotool search --name "^userwin$" 2>/dev/null | head -n1); [ -n "$USER_WIN" ]' ||
        { result error "no user window"; exit 1; }
fi
focus_user() {
    if [ "$DESK" = sway ]; then
        swaymsg "[title=\"^userwin\$\"] focus" >/dev/null 2>&1 || swaymsg '[app_id="wev"] focus' >/dev/null 2>&1
    elif [ "$USERWIN" = x11 ]; then
        xdotool windowactivate --sync "$USER_WIN" >/dev/null 2>&1
    fi
}

# Pingolet: an update every 250 ms (slider 5), beeping after 1 s, in your face 2 s later.
mkdir -p "$OUT/prog"
cp "$PINGOLET" "$OUT/prog/pingolet"
(cd "$OUT/prog" && exec env QT_QPA_PLATFORM= ./pingolet /t1=1 /t2=5 /t3=32 /ss=1s /dd=2s /m=Desk check) \
    >"$OUT/pingolet.log" 2>&1 &
PID=$!
PIDS+=("$PID")
poll 10 eval 'WIN=$(xdotool search --onlyvisible --pid "$PID" --class pingolet 2>/dev/null | tail -n1); [ -n "$WIN" ]' ||
    { result error "no Pingolet window"; exit 1; }
sleep 0.3
focus_user

# The user types on until the stage has run for a few updates.
TYPED=0
if [ "$USERWIN" = x11 ]; then
    (while :; do xdotool type --delay 40 "typing along "; done) >/dev/null 2>&1 &
    TYPER=$!
    PIDS+=("$TYPER")
    TYPED=1
fi
poll 20 eval '[ "$(notifies)" -ge 1 ]' || result error "no Notify within 20 s"
sleep 2
[ "$TYPED" = 1 ] && kill "$TYPER" 2>/dev/null
sleep 0.5

# What the desktop did with the window.
if [ "$DESK" = sway ]; then
    swaymsg -t get_tree >"$OUT/tree.json"
    state=$(jq -r --argjson p "$PID" '.. | objects | select(.pid? == $p) | "\(.focused) \(.urgent)"' "$OUT/tree.json" | head -n1)
    case $state in "true "*) outcome="raised and focused" ;; *" true") outcome="marked urgent" ;; *) outcome="neither" ;; esac
else
    active=$(xprop -root -notype _NET_ACTIVE_WINDOW | sed -n 's/.*# \(0x[0-9a-f]*\).*/\1/p')
    flags=$(xprop -id "$WIN" -notype -f WM_HINTS 32i ' $0\n' WM_HINTS 2>/dev/null | awk '{ print $2 }')
    wmstate=$(xprop -id "$WIN" -notype _NET_WM_STATE 2>/dev/null)
    if [ -n "$active" ] && [ $((active)) -eq $((WIN)) ]; then
        outcome="raised and focused"
    elif [ $((${flags:-0} & 256)) -ne 0 ] || [[ $wmstate == *DEMANDS_ATTENTION* ]]; then
        outcome="marked urgent"
    else
        outcome="neither"
    fi
fi
result outcome "$outcome"
title=$(xprop -id "$WIN" -notype _NET_WM_NAME | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p')
result title "$title"
result notify_count "$(notifies)"
grep -A40 'member=Notify$' "$OUT/monitor.log" | grep -A1 '"urgency"' | grep -q 'byte 2' && result urgency 2
if [ "$TYPED" = 1 ]; then
    result user_keys "$(grep -c KeyPress "$OUT/user.log")"
fi

# Editing the message ends the alarm and takes the notice away.
if [ "$DESK" = sway ]; then
    swaymsg "[pid=$PID] focus" >/dev/null 2>&1
else
    xdotool windowactivate --sync "$WIN" >/dev/null 2>&1
fi
sleep 0.3
xdotool mousemove --window "$WIN" 60 30 click 1 >/dev/null 2>&1
sleep 0.2
xdotool type --delay 30 "ok" >/dev/null 2>&1
poll 5 eval '[ "$(closes)" -ge 1 ]' && result closed yes || result closed no
result after_edit "$(xprop -id "$WIN" -notype _NET_WM_NAME | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p')"
