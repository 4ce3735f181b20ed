#!/usr/bin/env bash
# One run inside one desktop's session (DISPLAY set, WAYLAND_DISPLAY where the desktop has one).
# The user works in a window of their own and types through the input the desktop counts when
# Pingolet's alarm gets in their face; then they click its notification, then edit its message.
# Writes "KEY=value" lines to $OUT/result and leaves no process behind.
#   DESK      openbox, mutter, gnome-shell, sway or kwin
#   USERWIN   x11 (an xev window) or wayland (a wev window, with an X11 window of the user's
#             under it, so that the X11 stacking order shows whether Pingolet came above)
#   OUT       a folder the session's user may write
#   BIN       a folder the session's user may read: pingolet, remote_input.py
#   DESK_SS   seconds from Pingolet's start to its alarm (the user's set-up must fit in them)
# shellcheck disable=SC2317 # functions called through poll and eval
set -uo pipefail
START=$(date +%s%3N)
PIDS=()
cleanup() {
    local p
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null; done
}
trap cleanup EXIT
result() { echo "$1=$2" >>"$OUT/result"; }
fail() {
    result error "$1"
    exit 1
}
now_ms() { date +%s%3N; }
poll() { # poll SECONDS COMMAND...
    local end=$(($(now_ms) + $1 * 1000))
    shift
    until "$@"; do [ "$(now_ms)" -ge "$end" ] && return 1; sleep 0.1; done
}
yes_no() { if "$@"; then echo yes; else echo no; fi; }
bus() { dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus "$@" 2>/dev/null; }
has_name() { bus org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q 'boolean true'; }
# The user's keys: mutter and the shell count only their own RemoteDesktop input as the user's;
# sway's virtual keyboard reaches its windows, where XTEST keys reach no Xwayland window that has
# no keymap of sway's; XTEST elsewhere.
case $DESK in
mutter | gnome-shell) TYPING=remote-desktop ;;
sway) TYPING=virtual-keyboard ;;
*) TYPING=xtest ;;
esac
# type_text [KEY...] TEXT: the user types, as the desktop's input allows. Each wtype brings a
# keyboard with a keymap of its own, and its first key may arrive before Xwayland has the
# keymap: that one is a Shift.
type_text() {
    local keys=() named=()
    while [ $# -gt 1 ]; do keys+=(-k "$1") named+=("$1"); shift; done
    if [ "$TYPING" = virtual-keyboard ]; then
        wtype -k Shift_L "${keys[@]}" -d 60 "$1"
    else
        [ ${#named[@]} -gt 0 ] && xdotool key "${named[@]}"
        xdotool type --delay 60 "$1"
    fi >/dev/null 2>&1
}

# ---- What the desktop says -----------------------------------------------------------------
tree() { swaymsg -t get_tree 2>/dev/null; }
# sway_node FILTER FIELD: a field of the window matching a jq filter, from sway's tree.
sway_node() { tree | jq -r "[.. | objects | select(.type? == \"con\" or .type? == \"floating_con\") | select($1)][0].$2"; }
active_window() { xprop -root -notype _NET_ACTIVE_WINDOW 2>/dev/null | sed -n 's/.*# \(0x[0-9a-f]*\).*/\1/p'; }
is_active() { local a; a=$(active_window); [ -n "$a" ] && [ $((a)) -eq $(($1)) ]; }
# Whether the first window is above the second in the desktop's stacking order.
above() {
    local list
    list=$(xprop -root -notype _NET_CLIENT_LIST_STACKING 2>/dev/null | sed 's/.*# //; s/,//g')
    local i=0 a=-1 b=-1 w
    for w in $list; do
        [ $((w)) -eq $(($1)) ] && a=$i
        [ $((w)) -eq $(($2)) ] && b=$i
        i=$((i + 1))
    done
    [ "$a" -ge 0 ] && [ "$b" -ge 0 ] && [ "$a" -gt "$b" ]
}
# The states of wev's last configure, on the line after it when it has any.
wev_activated() {
    awk '/configure:/ { c = 1; a = 0; next } c && /^[[:space:]]/ { a = /activated/ } { c = 0 } END { exit !a }' "$OUT/user.log"
}

# Pingolet's window: focused and raised as the desktop says; marked as Pingolet's own properties
# say (the urgency bit of WM_HINTS only a client writes; _NET_WM_STATE the window manager keeps).
pingolet_focused() {
    if [ "$DESK" = sway ]; then [ "$(sway_node ".pid? == $PID" focused)" = true ]; else is_active "$WIN"; fi
}
pingolet_raised() { # in sway's tabs, the raised window is the visible one
    if [ "$DESK" = sway ]; then [ "$(sway_node ".pid? == $PID" visible)" = true ]; else above "$WIN" "$OTHER"; fi
}
hint_set() {
    local flags
    flags=$(xprop -id "$WIN" -notype -f WM_HINTS 32i ' $0\n' WM_HINTS 2>/dev/null | awk '{ print $2 }')
    [ $((${flags:-0} & 256)) -ne 0 ]
}
title_of() { xprop -id "$WIN" -notype _NET_WM_NAME | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p'; }
# How many times Pingolet asked for a change of its _NET_WM_STATE: only the attention is asked
# for in this run.
state_asked() {
    grep -A1 "^ClientMessage event.*window $(printf '0x%x' "$WIN")," "$OUT/root.log" | grep -c '(_NET_WM_STATE)'
}
state_set() { xprop -id "$WIN" -notype _NET_WM_STATE 2>/dev/null | grep -q DEMANDS_ATTENTION; }
user_focused() {
    if [ "$DESK" = sway ]; then
        if [ "$USERWIN" = x11 ]; then
            [ "$(sway_node '.name? == "userwin"' focused)" = true ]
        else
            [ "$(sway_node '.app_id? == "wev"' focused)" = true ]
        fi
    elif [ "$USERWIN" = x11 ]; then
        is_active "$USER_WIN"
    else
        wev_activated && ! is_active "$WIN"
    fi
}
focus_user() {
    if [ "$DESK" = sway ]; then
        if [ "$USERWIN" = x11 ]; then swaymsg '[title="^userwin$"] focus'; else swaymsg '[app_id="wev"] focus'; fi
    elif [ "$USERWIN" = x11 ]; then
        xdotool windowactivate --sync "$USER_WIN"
    fi >/dev/null 2>&1 # a native Wayland window has the focus from its mapping, or never
}
# The window's state in one word: focused (and not marked), marked (by Pingolet, not focused),
# focused-but-marked, or neither.
window_state() {
    local f h
    f=$(yes_no pingolet_focused)
    h=$(yes_no hint_set)
    case $f$h in
    yesno) echo focused ;;
    noyes) echo marked ;;
    yesyes) echo focused-but-marked ;;
    *) echo neither ;;
    esac
}
settled_state() { # a window that just got the focus loses its marks within a moment
    local s
    for _ in $(seq 15); do
        s=$(window_state)
        [ "$s" = focused-but-marked ] || break
        sleep 0.1
    done
    echo "$s"
}

# ---- The bus: who posts what ---------------------------------------------------------------
notifies_from() { grep 'member=Notify$' "$OUT/monitor.log" | grep -c "sender=$1 "; }
first_notify_ms() { # the bus's time of the first Notify, in milliseconds
    grep -m1 'member=Notify$' "$OUT/monitor.log" | sed -n 's/.* time=\([0-9]*\)\.\([0-9]\{3\}\).*/\1\2/p'
}
# The unique bus name of the process with id $1 among the senders of Notify calls.
sender_of() {
    local s
    for s in $(grep 'member=Notify$' "$OUT/monitor.log" | sed -n 's/.* sender=\([^ ]*\) .*/\1/p' | sort -u); do
        bus org.freedesktop.DBus.GetConnectionUnixProcessID "string:$s" | grep -q "uint32 $1\$" && { echo "$s"; return; }
    done
}

dbus-monitor --session "interface='org.freedesktop.Notifications'" >"$OUT/monitor.log" 2>&1 &
PIDS+=($!)
# What clients ask the window manager to change ("substructure" messages to the root).
xev -root -event substructure >"$OUT/root.log" 2>&1 &
PIDS+=($!)
if [ "$DESK" = gnome-shell ]; then
    poll 20 has_name org.freedesktop.Notifications || fail "the shell's notification server did not start"
    result server shell
else
    # dunst draws on X11 everywhere; a compositor without layer-shell has no place for it.
    WAYLAND_DISPLAY='' dunst >"$OUT/dunst.log" 2>&1 &
    PIDS+=($!)
    poll 10 has_name org.freedesktop.Notifications || fail "dunst did not start"
    result server dunst
fi

# ---- Pingolet: an update every 250 ms (slider 5), beeping after DESK_SS s, in your face 2 s later
mkdir -p "$OUT/prog"
cp "$BIN/pingolet" "$OUT/prog/pingolet"
(cd "$OUT/prog" && exec env QT_QPA_PLATFORM= ./pingolet /t1=1 /t2=5 /t3=32 "/ss=${DESK_SS:-5}s" /dd=2s /m=Desk check) \
    >"$OUT/pingolet.log" 2>&1 &
PID=$!
PIDS+=("$PID")
find_window() { WIN=$(xdotool search --onlyvisible --pid "$PID" --class pingolet 2>/dev/null | tail -n1); [ -n "$WIN" ]; }
poll 15 find_window || fail "no Pingolet window"
# Each update writes the title afresh (its arrow runs): they are counted here.
xprop -id "$WIN" -spy _NET_WM_NAME >"$OUT/titles.log" 2>&1 &
PIDS+=($!)
updates() { wc -l <"$OUT/titles.log"; }

# ---- The user's windows, opened after Pingolet's, and the focus in the user's -------------------
find_x11() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
if [ "$USERWIN" = x11 ]; then
    xev -name userwin -event keyboard -event focus >"$OUT/user.log" 2>&1 &
    USER_PIDS=($!)
    poll 10 eval 'USER_WIN=$(find_x11 userwin); [ -n "$USER_WIN" ]' || fail "no user window"
    OTHER=$USER_WIN
else
    xev -name cover -event focus >/dev/null 2>&1 &
    USER_PIDS=($!)
    poll 10 eval 'OTHER=$(find_x11 cover); [ -n "$OTHER" ]' || fail "no X11 window of the user's"
    # Had it the focus after the Wayland window, the Wayland window would not have it.
    [ "$DESK" = sway ] || poll 10 is_active "$OTHER" || fail "the user's X11 window never had the focus"
    stdbuf -oL wev -f xdg_toplevel:configure -f wl_keyboard:key >"$OUT/user.log" 2>&1 &
    USER_PIDS+=($!)
fi
PIDS+=("${USER_PIDS[@]}")
poll 10 eval 'focus_user; user_focused' || fail "the user's window never had the focus"

# ---- The user types on, through the input the desktop counts --------------------------------
result typing "$TYPING"
if [ "$TYPING" = remote-desktop ]; then
    /usr/bin/python3 "$BIN/remote_input.py" keys "$OUT/typed" >"$OUT/typer.log" 2>&1 &
    TYPER=$!
    poll 10 grep -q started "$OUT/typer.log" || fail "mutter's RemoteDesktop took no input: $(tail -n1 "$OUT/typer.log")"
else
    (until [ -e "$OUT/typing-done" ]; do type_text aaaaa; done) &
    TYPER=$!
fi
PIDS+=("$TYPER")
user_keys() {
    if [ "$USERWIN" = x11 ]; then grep -c KeyPress "$OUT/user.log"; else grep -c 'state: 1 (pressed)' "$OUT/user.log"; fi
}

# Until the stage begins: who has the focus, and whether Pingolet is on top, sampled.
: >"$OUT/samples"
stage_begun() { [ "$(grep -c 'member=Notify$' "$OUT/monitor.log")" -ge 1 ]; }
until stage_begun; do
    [ "$(now_ms)" -ge $((START + 40000)) ] && fail "no Notify within 40 s"
    echo "$(now_ms) $(yes_no user_focused) $(yes_no pingolet_raised) $(user_keys)" >>"$OUT/samples"
    sleep 0.05
done
# The last sample that ended an update period (250 ms) before the stage's first update.
before=$(awk -v t="$(($(first_notify_ms) - 250))" '$1 < t { s = $0 } END { print s }' "$OUT/samples")
result user_focus_before "$(echo "$before" | awk '{ print $2 }')"
result raised_before "$(echo "$before" | awk '{ print $3 }')"
result user_keys_before "$(echo "$before" | awk '{ print $4 }')"

# ---- The stage, with the user typing: eight updates, then what the desktop did --------------
updates_since() { [ $(($(updates) - $1)) -ge "$2" ]; }
poll 20 updates_since "$(updates)" 8 || fail "fewer than 8 updates within 20 s"
PSENDER=$(sender_of "$PID")
result outcome "$(settled_state)"
result raised "$(yes_no pingolet_raised)"
result hint "$(yes_no hint_set)"
result state "$(yes_no state_set)"
result state_asked "$(state_asked)"
result title "$(title_of)"

# ---- The user stops typing and clicks the notification (its default action) ------------------
touch "$OUT/typing-done"
[ "$TYPING" = remote-desktop ] && kill "$TYPER" 2>/dev/null # the others end their word first
wait "$TYPER" 2>/dev/null
result title_after_typing "$(title_of)"
ACTIONS=$(grep -c 'member=ActionInvoked$' "$OUT/monitor.log")
if [ "$DESK" = gnome-shell ]; then
    # The shell's banner, at the top in the middle of the screen.
    /usr/bin/python3 "$BIN/remote_input.py" click 640 60 >"$OUT/click.log" 2>&1
else
    dunstctl action 0 >"$OUT/click.log" 2>&1
fi
invoked() { [ "$(grep -c 'member=ActionInvoked$' "$OUT/monitor.log")" -gt "$ACTIONS" ]; }
if poll 5 invoked; then
    result action_invoked yes
    result activation_token "$(yes_no grep -q 'member=ActivationToken$' "$OUT/monitor.log")"
    poll 2 pingolet_focused
    result after_click "$(settled_state)"
else
    result action_invoked no
fi

# ---- Editing the message ends the alarm, takes the notice away and the marks off ------------
# The user closes their windows and clicks into the message with the pointer the desktop counts
# (mutter and the shell see no XTEST click); on sway, whose headless seat has no pointer, Tab.
kill "${USER_PIDS[@]}" 2>/dev/null
if [ "$DESK" = sway ]; then
    swaymsg "[pid=$PID] focus" >/dev/null 2>&1
    poll 5 pingolet_focused
    type_text Tab ok
elif [ "$TYPING" = remote-desktop ]; then
    eval "$(xdotool getwindowgeometry --shell "$WIN")"
    /usr/bin/python3 "$BIN/remote_input.py" click $((X + 60)) $((Y + 30)) ok >"$OUT/edit.log" 2>&1
else
    xdotool windowactivate "$WIN" >/dev/null 2>&1
    poll 5 pingolet_focused
    xdotool mousemove --window "$WIN" 60 30 click 1 >/dev/null 2>&1
    sleep 0.2
    type_text ok
fi
poll 5 eval '[[ "$(title_of)" != *" Desk check" ]]'
notice_gone() {
    grep 'member=CloseNotification$' "$OUT/monitor.log" | grep -q "sender=$PSENDER " ||
        grep -q 'member=NotificationClosed$' "$OUT/monitor.log"
}
result closed "$(yes_no poll 5 notice_gone)"
unmarked() { ! hint_set && ! state_set; }
result unmarked_after_edit "$(yes_no poll 3 unmarked)"
result after_edit "$(title_of)"
result notify_count "$(notifies_from "$PSENDER")"
# Pingolet's own Notify (the shell forwards each call once more, from itself).
grep -A40 'member=Notify$' "$OUT/monitor.log" | awk -v s="sender=$PSENDER " '/member=Notify$/ { mine = index($0, s) > 0 } mine' |
    grep -A1 '"urgency"' | grep -q 'byte 2' && result urgency 2
exit 0
