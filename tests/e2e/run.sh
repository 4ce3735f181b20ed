#!/usr/bin/env bash
# End-to-end suite: the real pingolet under a private Xvfb display with openbox, its beeps
# recorded from a private PulseAudio server's null sink, driven with xdotool.
#   tests/e2e/run.sh              every scenario, then the fault cases of faults.sh
#   tests/e2e/run.sh NAME...      only the scenario functions named (e.g. s3_countdown f_symlink)
# E2E_KEEP=1 keeps the temporary folder; PINGOLET=/path/to/pingolet tests another build.
# Ends with the line "N passed, N failed"; exits non-zero when a scenario failed.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
. "$E2E_DIR/faults.sh"
. "$E2E_DIR/alarms.sh"
. "$E2E_DIR/panel.sh"
. "$E2E_DIR/sleep.sh"

# 1. No settings file, no arguments: "Default Message" behind a running arrow, the start-up
#    beep, and no settings file is written.
s1_first_start() {
    new_folder
    rec_start || return 1
    local m0 first
    m0=$(rec_mark)
    start_in "$DIR"
    wait_window 10 || return 1
    wait_title 8 "^${ARROW}Default Message\$" || return 1
    first=$TITLE
    wait_loud 4 "$m0" || return 1
    note "start-up beep peaks at $PEAK"
    # The arrow runs: the next update (4 s at the default rate) moves it on.
    TITLE_RE="^${ARROW}Default Message\$"
    wait_for 6 "the running arrow to move on from \"$first\"" _title_moved "$first" || return 1
    shot "$CASE_DIR/window.png"
    local black
    black=$(count_pixels "$CASE_DIR/window.png" "$(message_area_geometry)" black)
    [ "${black% *}" -gt 100 ] || fail "the Message Area shows no text (dark pixels: $black)"
    assert_running
    [ "$(ls -A "$DIR")" = pingolet ] || fail "the program folder holds more than the program: $(ls -A "$DIR" | tr '\n' ' ')"
}

# The settings-and-help file as "/?" writes it: 95 CR LF lines in Windows-1252.
check_help_file() {
    local f=$1 lines crs
    lines=$(wc -l <"$f")
    crs=$(tr -cd '\r' <"$f" | wc -c)
    [ "$lines" -eq 95 ] || fail "$f has $lines lines, not 95"
    [ "$crs" -eq 95 ] && [ "$(grep -c $'\r$' "$f")" -eq 95 ] ||
        fail "$f: not every line ends in CR LF ($crs CRs, $(grep -c $'\r$' "$f") lines ending CR LF)"
    [ "$(tail -c 2 "$f" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "$f does not end in CR LF"
    [ "$(head -n 1 "$f")" = $'[User-Data]\r' ] || fail "$f: first line is \"$(head -n 1 "$f" | tr -d '\r')\", not [User-Data]"
    iconv -f WINDOWS-1252 -t UTF-8 "$f" >"$CASE_DIR/help.utf8" 2>/dev/null || fail "$f cannot be read as Windows-1252"
    grep -q '«Message»' "$CASE_DIR/help.utf8" || fail "$f: no «Message» in the help text read as Windows-1252"
    LC_ALL=C grep -q $'\xc2\xab' "$f" && fail "$f holds UTF-8 «, not the Windows-1252 byte"
    [ "$(head -c 3 "$f" | od -An -tx1 | tr -d ' ')" = efbbbf ] && fail "$f starts with a byte-order mark"
    has_line "$f" "Version = 1.21" || fail "$f: no line \"Version = 1.21\""
    [ ! -s "$CASE_DIR/reason" ]
}

# 2. "/?" on the command line and typed into the Message Area write the same file.
s2_help_file() {
    new_folder first
    local a=$DIR
    start_in "$a" "/?"
    wait_for 10 "\"pingolet /?\" to write $a/Pingolet.ini" test -s "$a/Pingolet.ini" || return 1
    wait_window 10 || return 1
    wait_title_ends 6 "The help you requested is available in the text file: «$a/Pingolet.ini»." || return 1
    check_help_file "$a/Pingolet.ini" || return 1
    stop_pid "$PID"
    [ -s "$TMPROOT/reference.ini" ] || cp "$a/Pingolet.ini" "$TMPROOT/reference.ini"

    new_folder typed
    local b=$DIR
    start_in "$b"
    wait_window 10 || return 1
    wait_title 8 "Default Message\$" || return 1
    type_message "/?"
    wait_for 5 "typing \"/?\" to write $b/Pingolet.ini" cmp -s "$a/Pingolet.ini" "$b/Pingolet.ini" ||
        { [ -e "$b/Pingolet.ini" ] && cmp "$a/Pingolet.ini" "$b/Pingolet.ini" | sed 's/^/      /'; return 1; }
    wait_title_ends 6 "The help you requested is available in the text file: «$b/Pingolet.ini»." || return 1
    assert_running
}

# 3. A countdown, beeping, then after DropDead the In-Your-Face stage: the minimised window is
#    restored, the beeping stops, the message flashes between black and red, and a window put
#    over it is covered again.
s3_countdown() {
    new_folder
    rec_start || return 1
    start_in "$DIR" /ss=2s /dd=4s /t2=5 /m=Tea
    wait_window 10 || return 1
    wait_title 3 '^[0-9]+(\.[0-9])?s-> Tea$' || return 1
    note "counting down: \"$TITLE\""
    wait_title 5 "^${ARROW}Tea\$" || return 1
    local m1 m2
    m1=$(rec_mark)
    wait_loud 3 "$m1" || return 1
    note "beep peak $PEAK"
    sleep 0.6
    above "$(rec_peak "$m1")" "$LOUD" || fail "no beeps while the alarm sounds"
    xdotool windowminimize "$WIN"
    wait_for 3 "the window to be minimised" _not_viewable || return 1
    # DropDead is 4 s from the onset; the stage restores and raises the window.
    wait_for 6 "the In-Your-Face stage to restore the minimised window" _viewable || return 1
    m2=$(rec_mark)
    local red dark
    read -r red dark <<<"$(flash_shots)"
    [ "$red" -gt 0 ] && [ "$dark" -gt 0 ] ||
        fail "the message text did not flash between black and red (shots with red text: $red, with black text: $dark)"
    sleep 1.2
    # The last beep before the stage may still be sounding when the window comes back.
    assert_quiet $((m2 + $(samples 0.4))) "" "in the In-Your-Face stage (from 0.4 s after the window came back)"
    # A window put over it: the next update raises and activates the alarm's window again. The
    # cover may be on top for less than one update, too short to poll for, so every change of the
    # stacking order is logged; a cover the log missed is tried again.
    local spy="$CASE_DIR/stacking.log" try
    xprop -root -spy _NET_CLIENT_LIST_STACKING >"$spy" 2>/dev/null &
    record_pid $! "$CASE_DIR/pids"
    wait_for 3 "xprop to log the stacking order" test -s "$spy" || return 1
    for try in 1 2 3; do
        xmessage -geometry 700x500+200+200 "over the alarm $try" >/dev/null 2>&1 &
        record_pid $! "$CASE_DIR/pids"
        poll 3 _covered_once "$spy" && break
    done
    _covered_once "$spy" || fail "no xmessage window was ever on top (log: $spy)" || return 1
    wait_for 3 "the In-Your-Face stage to raise the window above the xmessage" _top_is "$WIN" || return 1
    assert_running
}
# The stacking log $1 shows, after its first line, a new window other than ours on top.
_covered_once() {
    awk -v ours="$(printf '0x%x' "$WIN")" '
        /window id/ {
            sub(/.*# /, "")
            n = split($0, ids, /, */)
            if (++line == 1) { for (i = 1; i <= n; i++) known[ids[i]] = 1; next }
            if (!(ids[n] in known) && ids[n] != ours) found = 1
        }
        END { exit !found }' "$1"
}
# The window at the top of the stacking order, and the active one, is $1.
_top_window() {
    local top active
    top=$(xprop -root _NET_CLIENT_LIST_STACKING | awk '{ print $NF }')
    active=$(xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }')
    LAST="top $top, active $active, ours $(printf '0x%x' "$WIN")"
    printf '%d %d' "$top" "$active"
}
_top_is() { [ "$(_top_window)" = "$1 $1" ]; }
_viewable() { xwininfo -id "$WIN" 2>/dev/null | grep -q 'Map State: IsViewable'; }
_not_viewable() { ! _viewable; }

# 4. Typing into the Message Area while it beeps acknowledges the alarm.
s4_acknowledge() {
    new_folder
    rec_start || return 1
    start_in "$DIR" /t2=5 /m=Wake up
    wait_window 10 || return 1
    wait_title 5 "^${ARROW}Wake up\$" || return 1
    local m
    sleep 0.5
    m=$(rec_mark)
    wait_loud 3 "$m" || return 1
    type_message "Done"
    wait_title 5 "^${ARROW}Done\$" || return 1
    sleep 0.4
    m=$(rec_mark)
    sleep 1.5
    assert_quiet "$m" "" "after the message was edited"
    assert_running
}

# 5. Save New Settings writes Message= (a line break becomes two blanks) and the next start
#    shows it; every other line of the file stays as it was.
s5_save() {
    reference_folder || return 1
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 5 '^[0-9.]+m-> Default Message$' || return 1
    # Two lines: the title shows the first; the save turns the line break into two blanks.
    type_message "Tea at five"
    xdotool key --clearmodifiers Return
    xdotool type --delay 15 "sharp"
    wait_title 5 '^[0-9.]+m-> Tea at five$' || return 1
    click_save
    wait_for 5 "the line \"Message=Tea at five  sharp\" in Pingolet.ini" \
        has_line "$DIR/Pingolet.ini" "Message=Tea at five  sharp" || return 1
    [ "$(sed -n 2p "$DIR/Pingolet.ini")" = $'Message=Tea at five  sharp\r' ] || fail "Message= is not on line 2"
    # The Message Area takes the saved form too.
    wait_title 5 '^[0-9.]+m-> Tea at five  sharp$' || return 1
    cmp -s <(sed 2d "$REF") <(sed 2d "$DIR/Pingolet.ini") ||
        fail "lines other than Message changed: $(diff <(sed 2d "$REF") <(sed 2d "$DIR/Pingolet.ini") | head -5 | tr '\r\n' '  ')"
    stop_pid "$PID"
    start_in "$DIR"
    wait_window 10 || return 1
    wait_title 6 '^[0-9.]+m-> Tea at five  sharp$' || return 1
    assert_running
}

# 5b. A save keeps the file's encoding: Windows-1252 for what it can hold; a character outside
#     it makes the whole file UTF-8, every other line the same text as before.
s5b_save_encoding() {
    reference_folder || return 1
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 5 '^[0-9.]+m-> Default Message$' || return 1
    type_message "Caf"
    # A character that needs a remapped key takes xdotool a moment.
    xdotool type --delay 150 "é €"
    xdotool type --delay 15 "5"
    wait_title 5 '^[0-9.]+m-> Café €5$' || return 1
    click_save
    wait_for 5 "Message=Café €5 in Windows-1252 (bytes E9 and 80)" \
        has_line "$DIR/Pingolet.ini" "$(printf 'Message=Caf\xe9 \x805')" || return 1
    cmp -s <(sed 2d "$REF") <(sed 2d "$DIR/Pingolet.ini") || fail "lines other than Message changed"
    type_message "x"
    xdotool type --delay 150 "Ωmega"
    wait_title 5 '^[0-9.]+m-> xΩmega$' || return 1
    click_save
    wait_for 5 "Message=xΩmega in UTF-8" has_line "$DIR/Pingolet.ini" "Message=xΩmega" || return 1
    iconv -f WINDOWS-1252 -t UTF-8 "$REF" | sed 2d >"$CASE_DIR/reference.utf8"
    cmp -s "$CASE_DIR/reference.utf8" <(sed 2d "$DIR/Pingolet.ini") ||
        fail "the file rewritten as UTF-8 differs from the old one in lines other than Message"
    stop_pid "$PID"
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 6 '^[0-9.]+m-> xΩmega$' || return 1
    assert_running
}

# 5c. With the Additional Control Area open, Save New Settings also writes the slider values,
#     StartSet (the alarm is pending) and DropDead (in use), each as key=value.
s5c_save_control_area() {
    reference_folder || return 1
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 5 '^[0-9.]+m-> Default Message$' || return 1
    focus_window
    click_more
    sleep 0.3
    # The StartSet field: left W - 50 - 1100, top 1680 twips, 855 x 285.
    client_size
    click_at $((CW - 43)) 121
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 15 "10m"
    xdotool key --clearmodifiers Tab
    wait_title 5 '^(10|10\.0|9\.9)m-> Default Message$' || return 1
    # Save New Settings moves left by the area's 1100 twips.
    client_size
    click_at $((CW - 236 - 73)) $((CH - 18))
    sed -e 's/^Message = /Message=/' -e 's/^BeepIntervalMax = /BeepIntervalMax=/' \
        -e 's/^BeepIntervalSet = 20/BeepIntervalSet=5/' -e 's/^BeepIntervalMin = /BeepIntervalMin=/' \
        -e 's/^DropDead = /DropDead=/' -e 's/^StartSet = 3 min/StartSet=10m/' "$REF" >"$CASE_DIR/expected.ini"
    wait_for 5 "Pingolet.ini to hold the six keys as key=value (StartSet=10m, BeepIntervalSet=5)" \
        cmp -s "$DIR/Pingolet.ini" "$CASE_DIR/expected.ini" ||
        { fail "differences: $(diff <(tr -d '\r' <"$CASE_DIR/expected.ini") <(tr -d '\r' <"$DIR/Pingolet.ini") | head -8 | tr '\n' ' ')"; return 1; }
    assert_running
}

# 6. "Start:" launches the program when the countdown passes zero, and Pingolet ends. The
#    message comes from the settings file: with any command line, start-up arms a plain alarm.
s6_start_launches() {
    new_folder
    ini_with "$DIR/Pingolet.ini" "Message=Start: /bin/touch $DIR/started" "StartSet=2s" "BeepIntervalSet=5" || return 1
    start_in "$DIR"
    wait_window 10 || return 1
    shot "$CASE_DIR/pending.png"
    local g
    g=$(share_of "$CASE_DIR/pending.png" green)
    [ "$g" -ge 50 ] || fail "the Message Area is not green while the launch is pending ($g % green)"
    wait_for 6 "the launched /bin/touch to create $DIR/started" test -e "$DIR/started" || return 1
    wait_for 5 "pingolet (pid $PID) to end after the launch" ended "$PID" || return 1
    local rc=0
    wait "$PID" || rc=$?
    [ "$rc" -eq 0 ] || fail "pingolet ended with exit status $rc after the launch"
}

# 6c. A "Start:" program whose path holds blanks, without quotation marks.
s6c_start_path_with_blanks() {
    new_folder
    mkdir -p "$DIR/my tools"
    cp /bin/touch "$DIR/my tools/touch it"
    ini_with "$DIR/Pingolet.ini" "Message=Start: $DIR/my tools/touch it $DIR/started" "StartSet=1s" "BeepIntervalSet=5" ||
        return 1
    start_in "$DIR"
    wait_for 6 "\"$DIR/my tools/touch it\" to create $DIR/started" test -e "$DIR/started" || return 1
    wait_for 5 "pingolet (pid $PID) to end after the launch" ended "$PID" || return 1
    wait "$PID"
}

# 6b. The same message given with /m=: start-up step 14 arms a plain alarm (design.md, settled
#     readings), so nothing is launched; the area is green and the alarm beeps.
s6b_start_on_command_line() {
    new_folder
    rec_start || return 1
    start_in "$DIR" /ss=1s /t2=5 /m=Start: /bin/touch "$DIR/started"
    wait_window 10 || return 1
    wait_title 5 "^${ARROW}Start: /bin/touch $DIR/started\$" || return 1
    local m
    m=$(rec_mark)
    wait_loud 3 "$m" || return 1
    shot "$CASE_DIR/armed.png"
    [ "$(share_of "$CASE_DIR/armed.png" green)" -ge 50 ] || fail "the Message Area is not green"
    sleep 0.5
    [ -e "$DIR/started" ] && fail "a Start: message from the command line was launched"
    assert_running
}

# 7. A "Start:" program that does not exist: the area turns red, it beeps, and it keeps running.
s7_start_missing() {
    new_folder
    ini_with "$DIR/Pingolet.ini" "Message=Start: /no/such/program" "StartSet=1s" "BeepIntervalSet=5" || return 1
    rec_start || return 1
    start_in "$DIR"
    wait_window 10 || return 1
    wait_for 5 "the Message Area to turn red" _area_is red 50 || return 1
    local m
    m=$(rec_mark)
    wait_loud 3 "$m" || return 1
    note "failed launch beeps at $PEAK"
    wait_title 3 "^${ARROW}Start: /no/such/program\$" || return 1
    sleep 1
    assert_running
    _area_is red 50 || fail "the Message Area did not stay red ($LAST)"
}
# _area_is KIND PERCENT: at least that share of the Message Area has that colour.
_area_is() {
    shot "$CASE_DIR/area.png" || return 1
    local s
    s=$(share_of "$CASE_DIR/area.png" "$1")
    LAST="$s % $1"
    [ "$s" -ge "$2" ]
}

# 8. ReRun, typed: "ReRun:" alone gives the template; a complete message alternates silent
#    Off periods "<...>" and beeping On periods ">...<".
s8_rerun() {
    new_folder
    ini_with "$DIR/Pingolet.ini" "StartSet=0" "BeepIntervalSet=5" || return 1
    start_in "$DIR"
    wait_window 10 || return 1
    wait_title 5 "^${ARROW}Default Message\$" || return 1
    type_message "ReRun:"
    wait_title 4 "^${ARROW} Text\$" || return 1 # the template "ReRun: Off= ## On= ## S,M,H,D,W : Text"
    rec_start || return 1
    # Typed from the back, so that the text is never exactly "ReRun:" again on the way.
    type_message " Off=2s On=2s : tea"
    xdotool key --clearmodifiers ctrl+Home
    xdotool type --delay 15 "ReRun:"
    wait_title 4 '^<[0-9.]+ Sec\.> tea$' || return 1
    # Follow the title for two cycles, marking where each period starts in the recording.
    local kinds=() marks=() t kind prev="" deadline
    deadline=$(($(now_ms) + 10500))
    while [ "$(now_ms)" -lt "$deadline" ]; do
        t=$(title)
        case $t in
        "<"*"> tea") kind=off ;;
        ">"*"< tea") kind=on ;;
        *) kind=other ;;
        esac
        if [ "$kind" != "$prev" ]; then
            kinds+=("$kind")
            marks+=("$(rec_mark)")
            prev=$kind
            [ "$kind" = other ] && { fail "unexpected title \"$t\" in a ReRun cycle"; return 1; }
        fi
        [ ${#kinds[@]} -ge 5 ] && break
        sleep 0.03
    done
    local desc="" j
    for ((j = 0; j < ${#kinds[@]}; j++)); do
        desc+="${kinds[j]}@$(awk -v n="${marks[j]}" -v r=$RATE 'BEGIN { printf "%.2f", n / r }')s "
    done
    note "periods (recording time): $desc"
    [ ${#kinds[@]} -ge 4 ] || { fail "waited 10.5 s for the title to alternate between <...> and >...< twice; saw ${kinds[*]}"; return 1; }
    local i from to p ons=0 offs=0
    for ((i = 0; i + 1 < ${#kinds[@]}; i++)); do
        from=${marks[i]} to=${marks[i + 1]}
        if [ "${kinds[i]}" = on ]; then
            p=$(rec_peak "$from" "$to")
            above "$p" "$LOUD" || fail "On period $i is silent (peak $p)"
            ons=$((ons + 1))
        else
            # The update that ends an On period beeps once more: skip past that tone. The title
            # is read a little after the beep of the next period's first update has begun.
            assert_quiet $((from + $(samples 0.45))) $((to - $(samples 0.3))) "in Off period $i"
            offs=$((offs + 1))
        fi
    done
    [ $ons -ge 1 ] && [ $offs -ge 1 ] || fail "not both kinds of period were seen (on $ons, off $offs)"
    assert_running
}

# 9. A window resized below the minimum snaps back to it (4520 x 1600 twips outer).
s9_minimum_size() {
    new_folder
    start_in "$DIR"
    wait_window 10 || return 1
    # The form counts a frame of no side borders and a 27-pixel title: 301 x 80 px of client.
    xdotool windowsize "$WIN" 100 40
    wait_for 5 "the client area to snap back to about 301 x 80 px" _size_near 301 80 || return 1
    xdotool windowsize "$WIN" 600 300
    wait_for 5 "the client area to take 600 x 300 px" _size_near 600 300 || return 1
    assert_running
}
_size_near() {
    client_size
    LAST="client ${CW}x${CH}"
    [ $((CW - $1)) -ge -3 ] && [ $((CW - $1)) -le 3 ] && [ $((CH - $2)) -ge -3 ] && [ $((CH - $2)) -le 3 ]
}

# 10. Time values as the title shows them, and a relative /f= path taken from the program's
#     folder, not from the current directory.
s10_times_and_files() {
    new_folder
    printf '[User-Data]\r\nMessage = Right file\r\n[Program-Data]\r\nVersion = 1.21\r\n' >"$DIR/other.ini"
    mkdir -p "$CASE_DIR/elsewhere"
    printf '[User-Data]\r\nMessage = Wrong file\r\n[Program-Data]\r\nVersion = 1.21\r\n' >"$CASE_DIR/elsewhere/other.ini"
    (cd "$CASE_DIR/elsewhere" && exec "$DIR/pingolet" /t2=5 /f=other.ini) >>"$CASE_DIR/pingolet.log" 2>&1 &
    PID=$!
    record_pid "$PID" "$CASE_DIR/pids"
    wait_window 10 || return 1
    wait_title 5 "^${ARROW}Right file\$" || return 1
    stop_pid "$PID"
    local later earlier
    later=$(date -d '+2 hours' +%Hh%M)
    earlier=$(date -d '-1 hours' +%Hh%M)
    _time_shows "/ss=$later" '(1\.9|2\.0)h' || return 1  # today
    _time_shows "/ss=$earlier" '23h' || return 1        # passed: tomorrow
    _time_shows "/ss=1.5 Days" '1\.5D' || return 1
    _time_shows "/ss=2E6s" '3\.3W' || return 1
    _time_shows "/ss=90 sec" '1\.5m' || return 1
}
_time_shows() {
    start_in "$DIR" /t2=5 "$1" /m=When
    wait_window 10 || return 1
    wait_title 5 "^$2-> When\$" || { fail "(for $1)"; return 1; }
    stop_pid "$PID"
}

# 11. Unknown arguments are named on standard error and ignored; without a display the program
#     says so in one line and ends with status 1.
s11_clear_about_bad_input() {
    new_folder
    local rc err="$CASE_DIR/stderr"
    (cd "$DIR" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./pingolet /ss=5m) 2>"$err"
    rc=$?
    [ "$rc" -eq 1 ] || fail "without a display: status $rc, not 1"
    [ "$(wc -l <"$err")" -eq 1 ] && grep -q 'xvfb-run' "$err" ||
        fail "without a display: \"$(tr '\n' ' ' <"$err")\", not one line naming xvfb-run"
    (cd "$DIR" && exec env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4093 ./pingolet) 2>"$err"
    rc=$?
    [ "$rc" -eq 1 ] && grep -q '^pingolet: cannot open the X display :4093' "$err" ||
        fail "with a display that does not open: status $rc, \"$(tr '\n' ' ' <"$err")\""
    # A server that hangs up as the X library greets it. The library reads its authority file
    # between connecting and greeting: a FIFO there lets the server close its end first, every
    # time.
    mkfifo "$CASE_DIR/authority"
    /usr/bin/python3 -c 'import os, socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind("\0/tmp/.X11-unix/X4092")
s.listen(8)
c = s.accept()[0]
c.shutdown(socket.SHUT_RD)
os.close(os.open(sys.argv[1], os.O_WRONLY))
c.recv(1)' "$CASE_DIR/authority" &
    record_pid $! "$CASE_DIR/pids"
    wait_for 5 "the refusing server" grep -q '@/tmp/.X11-unix/X4092$' /proc/net/unix || return 1
    (cd "$DIR" && exec env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4092 \
        XAUTHORITY="$CASE_DIR/authority" timeout 20 ./pingolet) 2>"$err"
    rc=$?
    [ "$rc" -eq 1 ] && [ "$(wc -l <"$err")" -eq 1 ] &&
        grep -q '^pingolet: cannot open the X display :4092' "$err" ||
        fail "with a display that refuses: status $rc, \"$(tr '\n' ' ' <"$err")\""
    # A Wayland compositor that is not there: Qt's own failure, turned into the same line.
    (cd "$DIR" && exec env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=pingolet-none \
        timeout 20 ./pingolet) 2>"$err"
    rc=$?
    [ "$rc" -eq 1 ] && [ "$(wc -l <"$err")" -eq 1 ] &&
        grep -q '^pingolet: cannot open the Wayland display pingolet-none' "$err" ||
        fail "with a Wayland display that is not there: status $rc, \"$(tr '\n' ' ' <"$err")\""
    start_in "$DIR" 10s -h /ss=5 /m=Tea
    wait_window 10 || return 1
    wait_title 5 'Tea$' || return 1
    local piece
    for piece in '"10s"' '"-h"'; do
        grep -q "^pingolet: ignored $piece: not an argument it knows (see pingolet --help)\$" "$CASE_DIR/pingolet.log" ||
            fail "$piece is not named on standard error"
    done
    grep -q '^pingolet: "/ss=5" is not a time' "$CASE_DIR/pingolet.log" || fail "/ss=5 is not named on standard error"
    assert_running
}

SCENARIOS=(
    "1 first start, no settings file:s1_first_start"
    "2 /? writes the help file, on the command line and typed:s2_help_file"
    "3 countdown, beeping, In-Your-Face:s3_countdown"
    "4 typing acknowledges the alarm:s4_acknowledge"
    "5 Save New Settings and the next start:s5_save"
    "5b Save keeps Windows-1252, or turns the file UTF-8:s5b_save_encoding"
    "5c Save with the Additional Control Area open:s5c_save_control_area"
    "6 Start: launches and Pingolet ends:s6_start_launches"
    "6b Start: from /m= is armed, not launched:s6b_start_on_command_line"
    "6c Start: of a path with blanks:s6c_start_path_with_blanks"
    "7 Start: of a missing program turns red and beeps:s7_start_missing"
    "8 ReRun: template, Off and On periods:s8_rerun"
    "9 resizing below the minimum snaps back:s9_minimum_size"
    "10 time values and a relative /f=:s10_times_and_files"
    "11 unknown arguments named, no display is status 1:s11_clear_about_bad_input"
)

main() {
    local started entry name fn want
    started=$(now_ms)
    e2e_setup || { say "Set-up failed"; say "0 passed, 1 failed"; exit 1; }
    say "pingolet: $PINGOLET; display $DISPLAY; sound server $PULSE_SERVER"
    for entry in "${SCENARIOS[@]}" "${ALARMS[@]}" "${PANEL[@]}" "${SLEEP[@]}" "${FAULTS[@]}"; do
        name=${entry%:*}
        fn=${entry##*:}
        if [ $# -gt 0 ]; then
            for want in "$@"; do [ "$want" = "$fn" ] && break; done
            [ "$want" = "$fn" ] || continue
        fi
        run_case "$name" "$fn"
    done
    say "Total $(awk -v d=$(($(now_ms) - started)) 'BEGIN { printf "%.1f", d / 1000 }') s"
    summary
}

main "$@"
