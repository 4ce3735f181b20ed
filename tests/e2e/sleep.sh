# Sourced by run.sh: a due alarm and a sleeping machine. The desktop is asked not to go idle
# (a stand-in xdg-desktop-portal on a private session bus records it), and a timer that wakes a
# suspended machine is armed for the alarm's instant (root holds CAP_WAKE_ALARM).

# D1. An alarm due in ten minutes keeps the desktop from going idle, one due in two hours does
#     not; cancelled or acknowledged, it gives the inhibition back. Both arm the wake timer.
d1_awake_while_near() {
    alarm_folders
    private_bus || return 1
    "$E2E_DIR/portal_stand_in.py" "$CASE_DIR/portal.log" 2>>"$CASE_DIR/bus.log" &
    record_pid $! "$CASE_DIR/pids"
    wait_for 5 "the stand-in portal" grep -qs ready "$CASE_DIR/portal.log" || return 1
    new_folder
    start_in "$DIR" /t2=5 /ss=10m "/m=Tea"
    start_in "$DIR" /t2=5 /ss=2h "/m=Later"
    wait_for 10 "an Inhibit of the idle flag for Tea" \
        grep -q "^inhibit 8 Tea: due at [0-9][0-9]:[0-9][0-9]\$" "$CASE_DIR/portal.log" || return 1
    wait_for 5 "both alarms' wake timers armed" _both_armed || return 1
    sleep 1 # Later had its chance to ask too
    [ "$(grep -c '^inhibit' "$CASE_DIR/portal.log")" -eq 1 ] ||
        fail "not one Inhibit: $(tr '\n' '|' <"$CASE_DIR/portal.log")"
    "$DIR/pingolet" --cancel "$(alarm_id Tea)" || fail "--cancel exited with status $?"
    wait_for 5 "Tea's inhibition given back" grep -q "^close Tea: due at" "$CASE_DIR/portal.log" || return 1

    start_in "$DIR" /t2=5 /ss=1s /dd=1h "/m=Ring"
    wait_for 8 "the alarm Ring to beep" _in_state_named Ring beeping || return 1
    grep -q "^inhibit 8 Ring: " "$CASE_DIR/portal.log" || fail "no Inhibit for Ring"
    "$DIR/pingolet" --ack "$(alarm_id Ring)" || fail "--ack exited with status $?"
    wait_for 5 "Ring's inhibition given back" grep -q "^close Ring: " "$CASE_DIR/portal.log"
}
_both_armed() {
    LAST=$("$DIR/pingolet" --list --json 2>&1)
    [ "$(grep -o '"wake":"armed"' <<<"$LAST" | wc -l)" -eq 2 ]
}
_in_state_named() { _in_state "$(alarm_id "$1")" "$2"; }

SLEEP=(
    "D1 a near alarm keeps the desktop awake:d1_awake_while_near"
)
