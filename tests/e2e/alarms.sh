# Sourced by run.sh: alarms that outlive their program. Each scenario has state and config
# folders of its own, so that no record of another scenario is brought back.

# Sets the case's own XDG folders; STATE is where records go, ENTRY the autostart entry.
alarm_folders() {
    export XDG_STATE_HOME="$CASE_DIR/state" XDG_CONFIG_HOME="$CASE_DIR/config"
    STATE="$XDG_STATE_HOME/pingolet"
    ENTRY="$XDG_CONFIG_HOME/autostart/org.example.pingolet.Pingolet.resume.desktop"
}
records() { find "$STATE" -name '*.json' 2>/dev/null | wc -l; }
has_records() { [ "$(records)" -eq "$1" ]; }
# The due time of the one record, in milliseconds since 1970.
record_due_ms() {
    local due
    due=$(sed -n 's/.*"due": "\(.*\)",$/\1/p' "$STATE"/*.json | head -n1)
    echo $(($(date -d "$due" +%s%3N)))
}
resume() { "$DIR/pingolet" --resume >>"$CASE_DIR/resume.log" 2>&1; }
# The one program that brought an alarm back: sets PID. Two --resume at once may each start one;
# the one that finds the alarm held ends by itself, so wait until a single one is left.
resumed_pid() {
    local pids
    pids=$(pgrep -f "$DIR/pingolet --resume [0-9a-f]")
    [ "$(wc -w <<<"$pids")" -eq 1 ] || return 1
    PID=$pids
    record_pid "$PID" "$CASE_DIR/pids"
}

# Starts an alarm in a new folder and waits for its window and its record.
start_recorded() {
    alarm_folders
    new_folder
    start_in "$DIR" /t2=5 "$@"
    wait_window 10 || return 1
    wait_for 5 "a record in $STATE" has_records 1
}

# A1. Killed during its countdown and brought back: the same message, beeping from the due
#     time on, not before; the window's close ends it, and its record and entry go with it.
a1_killed_then_resumed() {
    start_recorded /ss=5s /dd=1m "/m=Back again" || return 1
    grep -qx "Exec=$DIR/pingolet --resume" "$ENTRY" || fail "the autostart entry does not run $DIR/pingolet --resume"
    kill -KILL "$PID"
    local due m0
    due=$(record_due_ms)
    rec_start || return 1
    resume || fail "--resume exited with status $?"
    wait_for 5 "the alarm's program to come back" resumed_pid || return 1
    wait_window 10 || return 1
    wait_title 5 "^[0-9.]+s-> Back again\$" || return 1
    m0=$(rec_mark) # after the start-up beep
    wait_title 10 "^${ARROW}Back again\$" || return 1
    local late=$(($(now_ms) - due))
    [ "$late" -ge -100 ] || fail "beeping began $((-late)) ms before the due time"
    [ "$late" -le 2000 ] || fail "beeping began $late ms after the due time"
    note "the title showed the beeping $late ms after the due time"
    wait_loud 3 "$m0" || return 1
    wmctrl -i -c "$WIN"
    wait_for 5 "the program to end after its window was closed" ended "$PID" || return 1
    has_records 0 || fail "the record stayed after the window was closed"
    [ ! -e "$ENTRY" ] || fail "the autostart entry stayed with no alarm pending"
}

# A2. Killed after its due time: back beeping at once, the time box counting since it fell due.
a2_killed_after_due() {
    alarm_folders
    new_folder
    start_in "$DIR" /t2=5 /ss=1s /dd=1h "/m=Overdue"
    wait_window 10 || return 1
    wait_title 5 "^${ARROW}Overdue\$" || return 1
    kill -KILL "$PID"
    sleep 2
    resume
    wait_for 5 "the alarm's program to come back" resumed_pid || return 1
    wait_window 10 || return 1
    wait_title 3 "^${ARROW}Overdue\$" || return 1
    rec_start || return 1
    local m0
    m0=$(rec_mark)
    wait_loud 3 "$m0" || return 1
    kill -INT "$PID" # Ctrl+C: the user ends it
    wait_for 5 "the program to end on SIGINT" ended "$PID" || return 1
    has_records 0 || fail "the record stayed after Ctrl+C"
}

# A3. SIGTERM (the session ends) keeps the alarm; a folder that cannot be written costs one
#     line on standard error and nothing else.
a3_stopped_keeps() {
    start_recorded /ss=1h "/m=Tomorrow" || return 1
    kill -TERM "$PID"
    wait_for 5 "the program to end on SIGTERM" ended "$PID" || return 1
    has_records 1 || fail "SIGTERM took the record away"

    export XDG_STATE_HOME="$DIR/pingolet" # a file: no folder can be made there
    : >"$CASE_DIR/pingolet.log"
    start_in "$DIR" /t2=5 /ss=1h "/m=Unrecorded"
    wait_window 10 || return 1
    type_message "Still running"
    wait_title 5 "^[0-9.]+m-> Still running\$" || return 1
    local lines
    lines=$(grep -c '^pingolet: ' "$CASE_DIR/pingolet.log")
    [ "$lines" -eq 1 ] || fail "$lines lines on standard error, not one: $(head -c 300 "$CASE_DIR/pingolet.log")"
    assert_running
}

# A4. Two --resume at once bring one alarm back once; a damaged record is named and left.
a4_two_resumes() {
    start_recorded /ss=1h "/m=Only once" || return 1
    kill -KILL "$PID"
    echo '{"format": "pingolet-alarm", "version": 1, "id"' >"$STATE/0123456789abcdef.json"
    resume &
    resume
    wait
    wait_for 5 "the alarm's program to come back" resumed_pid || return 1
    wait_window 10 || return 1
    sleep 1
    local windows
    windows=$(xdotool search --onlyvisible --name "Only once" 2>/dev/null | wc -l)
    [ "$windows" -eq 1 ] || fail "$windows windows for one alarm"
    grep -q "0123456789abcdef.json" "$CASE_DIR/resume.log" || fail "the damaged record was not named: $(cat "$CASE_DIR/resume.log")"
    [ -e "$STATE/0123456789abcdef.json" ] || fail "the damaged record was taken away"
    unset DISPLAY
    "$DIR/pingolet" --resume >>"$CASE_DIR/resume.log" 2>&1 || fail "--resume with nothing to bring back failed without a display"
}

ALARMS=(
    "A1 killed during the countdown, then --resume:a1_killed_then_resumed"
    "A2 killed after the due time, then --resume:a2_killed_after_due"
    "A3 SIGTERM keeps the alarm; an unwritable state folder:a3_stopped_keeps"
    "A4 two --resume at once, a damaged record:a4_two_resumes"
)

# A session bus of the case's own, with a notification server that logs to $CASE_DIR/notices.
private_bus() {
    dbus-daemon --session --nofork --address="unix:path=$CASE_DIR/bus" >"$CASE_DIR/bus.log" 2>&1 &
    record_pid $! "$CASE_DIR/pids"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$CASE_DIR/bus"
    wait_for 5 "the private session bus" test -S "$CASE_DIR/bus" || return 1
    "$E2E_DIR/notification_server.py" "$CASE_DIR/notices" "$CASE_DIR/press" 2>>"$CASE_DIR/bus.log" &
    SERVER_PID=$!
    record_pid "$SERVER_PID" "$CASE_DIR/pids"
    wait_for 5 "the notification server" grep -qs ready "$CASE_DIR/notices"
}
# The id of the running alarm whose title is given.
alarm_id() {
    "$DIR/pingolet" --list --json | /usr/bin/python3 -c \
        'import json, sys; print(next(a["id"] for a in json.load(sys.stdin) if a["title"] == sys.argv[1]))' "$1"
}
_in_state() {
    LAST=$(alarm_state "$1")
    [ "$LAST" = "$2" ]
}
alarm_state() {
    "$DIR/pingolet" --list --json | /usr/bin/python3 -c \
        'import json, sys; print(next(a["state"] for a in json.load(sys.stdin) if a["id"] == sys.argv[1]))' "$1"
}

# B1. Two alarms on the session bus: listed with their due times; --ack silences the one that
#     beeps, --snooze makes it ring again two seconds later, an unknown id is refused.
b1_answered_from_the_command_line() {
    alarm_folders
    private_bus || return 1
    new_folder
    start_in "$DIR" /t2=5 /ss=2s /dd=1h "/m=First"
    start_in "$DIR" /t2=5 /ss=1h "/m=Second"
    wait_window 10 || return 1
    wait_for 5 "both alarms on the bus" _both_listed || return 1
    local a
    a=$(alarm_id First)
    rec_start || return 1
    local m0 m1 m2
    wait_for 6 "the first alarm to beep" _in_state "$a" beeping || return 1
    m0=$(rec_mark)
    wait_loud 2 "$m0" || return 1
    "$DIR/pingolet" --ack "${a:0:6}" || fail "--ack exited with status $?"
    sleep 0.4 # the recording runs behind
    m1=$(rec_mark)
    sleep 1.5
    assert_quiet "$m1" "" "after --ack" || return 1
    [ "$(alarm_state "$a")" = idle ] || fail "after --ack the alarm is $(alarm_state "$a"), not idle"
    "$DIR/pingolet" --snooze "$a" 2s || fail "--snooze exited with status $?"
    m2=$(rec_mark)
    sleep 1.4
    assert_quiet "$m2" "$((m2 + $(samples 1.2)))" "in the two seconds of the snooze" || return 1
    wait_loud 3 "$m2" || return 1
    "$DIR/pingolet" --ack 0000zzzz 2>"$CASE_DIR/unknown.txt"
    [ $? -eq 2 ] || fail "an unknown id did not exit with status 2"
    grep -q "no alarm 0000zzzz" "$CASE_DIR/unknown.txt" || fail "no clear line for an unknown id: $(cat "$CASE_DIR/unknown.txt")"
    "$DIR/pingolet" --snooze "$a" soon 2>/dev/null
    [ $? -eq 2 ] || fail "an unusable duration did not exit with status 2"
}
_both_listed() {
    LAST=$("$DIR/pingolet" --list --json 2>&1)
    /usr/bin/python3 -c 'import json, sys; a = json.loads(sys.argv[1]); sys.exit(not (
        sorted(x["title"] for x in a) == ["First", "Second"] and all(x["due"] and x["pid"] for x in a)))' "$LAST"
}

# B2. The notification's "Acknowledge" button, pressed through the notification server, ends
#     an alarm that is in your face; the notice goes with it. The notice and the alarm's object
#     share the program's one connection to the bus.
b2_notification_button() {
    alarm_folders
    private_bus || return 1
    new_folder
    start_in "$DIR" /t2=5 /ss=1s /dd=1s "/m=Face"
    wait_window 10 || return 1
    wait_for 10 "the notice of the In-Your-Face stage" grep -q '^notify .* Face default,acknowledge,open$' "$CASE_DIR/notices" || return 1
    local a owner sender
    a=$(alarm_id Face)
    owner=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetNameOwner "string:org.example.pingolet.Pingolet.Alarm_$a" | tr -d ' ')
    sender=$(sed -n 's/^from [0-9]* //p' "$CASE_DIR/notices" | head -n 1)
    [ -n "$owner" ] && [ "$owner" = "$sender" ] ||
        fail "the notice came from \"$sender\", the alarm's object is on \"$owner\": not one connection"
    echo acknowledge >"$CASE_DIR/press"
    kill -USR1 "$SERVER_PID"
    wait_for 5 "the notice to be closed after the button" grep -q '^close ' "$CASE_DIR/notices" || return 1
    [ "$(alarm_state "$a")" = idle ] || fail "after the button the alarm is $(alarm_state "$a"), not idle"
    has_records 0 || fail "the acknowledged alarm's record stayed"
}

ALARMS+=(
    "B1 two alarms answered from the command line:b1_answered_from_the_command_line"
    "B2 the notification's Acknowledge button:b2_notification_button"
)
