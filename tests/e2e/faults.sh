#!/usr/bin/env bash
# Fault cases of the end-to-end suite: settings files that cannot be written, vanish, are links,
# directories or garbage, huge messages, and commands that do not exist. Each case ends by
# checking that the program still runs and that no byte of an existing settings file was lost
# (unless the case is a successful save).
#   tests/e2e/faults.sh [NAME...]   the fault cases alone (run.sh runs them after its scenarios)
# Sourced by run.sh for the FAULTS list and the case functions.

SAVE_ERROR="ERROR! Message not saved! Check for valid write permission. « "
HELP_REFUSED="You requested help, but the '.INI' re-build was not allowed. Please run the program in a new directory to which the file: «Pingolet.ini» (~12 K) may be added."

# Types a message, clicks Save New Settings and waits for the save error around it.
save_expecting_error() {
    local msg=$1 m
    type_message "$msg"
    wait_title_ends 5 "$msg" || return 1
    m=$(rec_mark)
    click_save
    wait_title_ends 5 "${SAVE_ERROR}${msg} »" || return 1
    wait_loud 3 "$m" || fail "the failed save gave no beep"
}

# Types "/?" and waits for the refusal to rebuild the settings file.
help_expecting_refusal() {
    type_message "/?"
    wait_title_ends 5 "$HELP_REFUSED"
}

# Same bytes as before: unchanged FILE COPY.
unchanged() {
    cmp -s "$1" "$2" || fail "$1 changed: $(cmp "$1" "$2" 2>&1 | head -1)"
}

# Nothing but the expected names in a folder (no temporary file left behind): only_files DIR NAME...
only_files() {
    local dir=$1 have want
    shift
    have=$(ls -A "$dir" | sort | tr '\n' ' ')
    want=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
    [ "$have" = "$want" ] || fail "$dir holds \"$have\", expected \"$want\""
}

# The settings file is read-only (no write bits): the save fails and says so, "/?" is refused.
f_readonly() {
    reference_folder || return 1
    chmod 0444 "$DIR/Pingolet.ini"
    rec_start || return 1
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 5 'm-> Default Message$' || return 1
    save_expecting_error "Read only note" || return 1
    help_expecting_refusal || return 1
    unchanged "$DIR/Pingolet.ini" "$REF"
    [ "$(stat -c %a "$DIR/Pingolet.ini")" = 444 ] || fail "the file's mode changed to $(stat -c %a "$DIR/Pingolet.ini")"
    only_files "$DIR" pingolet Pingolet.ini
    assert_running
}

# The settings file is a directory: defaults are used, the save fails, "/?" is refused.
f_directory() {
    new_folder
    mkdir "$DIR/Pingolet.ini"
    rec_start || return 1
    start_in "$DIR" /ss=5m /t2=5
    wait_window 10 || return 1
    wait_title 5 '^[0-9.]+m-> Default Message$' || return 1
    save_expecting_error "Dir note" || return 1
    help_expecting_refusal || return 1
    [ -d "$DIR/Pingolet.ini" ] && [ -z "$(ls -A "$DIR/Pingolet.ini")" ] ||
        fail "Pingolet.ini is no longer an empty directory"
    only_files "$DIR" pingolet Pingolet.ini
    assert_running
}

# The settings file sits in a folder without write bits: nothing can replace it.
f_unwritable_folder() {
    reference_folder || return 1
    chmod 0555 "$DIR"
    rec_start || return 1
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 5 'm-> Default Message$' || return 1
    save_expecting_error "Folder note" || return 1
    help_expecting_refusal || return 1
    unchanged "$DIR/Pingolet.ini" "$REF"
    only_files "$DIR" pingolet Pingolet.ini
    chmod 0755 "$DIR"
    assert_running
}

# The settings file (named with /f=) lies on a full file system.
f_full_disk() {
    reference_ini || return 1
    new_folder
    local full="$CASE_DIR/full"
    mkdir -p "$full"
    if ! mount -t tmpfs -o size=64k tmpfs "$full" 2>"$CASE_DIR/mount.log"; then
        note "skipped: mount -t tmpfs -o size=64k is not allowed here ($(head -1 "$CASE_DIR/mount.log"))"
        return 77
    fi
    echo "$full" >>"$TMPROOT/mounts"
    cp "$REF" "$full/Pingolet.ini"
    dd if=/dev/zero of="$full/filler" bs=1k 2>/dev/null
    note "free on the tmpfs: $(df -k --output=avail "$full" | tail -1 | tr -d ' ') KiB"
    rec_start || return 1
    start_in "$DIR" /t2=5 "/f=$full/Pingolet.ini"
    wait_window 10 || return 1
    wait_title 5 'm-> Default Message$' || return 1
    save_expecting_error "Full disk note"
    unchanged "$full/Pingolet.ini" "$REF"
    only_files "$full" Pingolet.ini filler
    assert_running
    stop_pid "$PID"
    umount "$full" || fail "could not unmount $full"
}

# The settings file vanishes while the program runs: Save New Settings creates it again.
f_vanished() {
    reference_folder || return 1
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 5 'm-> Default Message$' || return 1
    rm "$DIR/Pingolet.ini"
    type_message "Back again"
    wait_title_ends 5 "Back again" || return 1
    click_save
    wait_for 5 "Pingolet.ini to be created again with Message=Back again" has_line "$DIR/Pingolet.ini" "Message=Back again" ||
        return 1
    has_line "$DIR/Pingolet.ini" "[User-Data]" || fail "the new file has no [User-Data] line"
    note "the new file: $(od -c "$DIR/Pingolet.ini" | head -3 | tr -s ' ' | tr '\n' ' ')"
    sleep 0.5
    [[ $(title) == *"$SAVE_ERROR"* ]] && fail "the save reported an error: $(title)"
    assert_running
    # The new file carries the version, so the next start shows the saved message.
    has_line "$DIR/Pingolet.ini" "Version=1.21" || fail "the new file has no Version line"
    stop_pid "$PID"
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title_ends 5 "Back again" || return 1
    assert_running
}

# The settings file is a symbolic link: after a save it is still the same link; the target changed.
f_symlink() {
    reference_ini || return 1
    new_folder
    mkdir "$DIR/conf"
    cp "$REF" "$DIR/conf/real.ini"
    ln -s conf/real.ini "$DIR/Pingolet.ini"
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title 5 'm-> Default Message$' || return 1
    type_message "Via the link"
    wait_title_ends 5 "Via the link" || return 1
    click_save
    wait_for 5 "the link's target to hold Message=Via the link" has_line "$DIR/conf/real.ini" "Message=Via the link" ||
        return 1
    [ -L "$DIR/Pingolet.ini" ] || fail "Pingolet.ini is no longer a symbolic link"
    [ "$(readlink "$DIR/Pingolet.ini")" = conf/real.ini ] || fail "the link now points to $(readlink "$DIR/Pingolet.ini")"
    cmp -s <(sed 2d "$REF") <(sed 2d "$DIR/conf/real.ini") || fail "lines other than Message changed in the target"
    only_files "$DIR/conf" real.ini
    assert_running
}

# A settings file of 50 MB: the keys after 50 MB of comment lines are still found.
f_huge_file() {
    new_folder
    local f="$DIR/Pingolet.ini"
    yes '; a line of notes that makes this settings file fifty megabytes long, and then some' |
        head -c $((50 * 1024 * 1024)) >"$f"
    printf '\r\n[User-Data]\r\nMessage = Found at the end\r\nBeepIntervalSet = 5\r\n[Program-Data]\r\nVersion = 1.21\r\n' >>"$f"
    cp "$f" "$CASE_DIR/before.ini"
    local t0
    t0=$(now_ms)
    start_in "$DIR"
    wait_window 15 || return 1
    note "window after $(( $(now_ms) - t0 )) ms"
    wait_title 10 "^${ARROW}Found at the end\$" || return 1
    sleep 1
    unchanged "$f" "$CASE_DIR/before.ini"
    assert_running
}

# A settings file of random bytes.
f_random_file() {
    new_folder
    head -c $((1024 * 1024)) /dev/urandom >"$DIR/Pingolet.ini"
    cp "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    # An existing file without Version = 1.21 gives the upgrade notice.
    wait_title_has 5 "You seem to have upgraded your program, but not the .INI file" || return 1
    sleep 1
    unchanged "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    assert_running
}

# Lines of 1 MB holding NUL bytes around the keys: the keys are read, and a save keeps every
# other byte.
f_nul_lines() {
    new_folder
    local f="$DIR/Pingolet.ini" junk="$CASE_DIR/junk"
    { head -c 300000 /dev/zero; yes 'text between the zeros ' | head -c 400000; head -c 348576 /dev/zero; } >"$junk"
    make_nul_file() {
        printf '[User-Data]\r\n'
        cat "$junk"; printf '\r\n'
        printf '%s\r\n' "$1"
        cat "$junk"; printf '\r\n'
        printf 'BeepIntervalSet = 5\r\n[Program-Data]\r\nVersion = 1.21\r\n'
        cat "$junk"; printf '\r\n'
    }
    make_nul_file "Message = After the zeros" >"$f"
    make_nul_file "Message=Saved over zeros" >"$CASE_DIR/expected.ini"
    start_in "$DIR"
    wait_window 10 || return 1
    wait_title 6 "^${ARROW}After the zeros\$" || return 1
    type_message "Saved over zeros"
    wait_title_ends 5 "Saved over zeros" || return 1
    click_save
    wait_for 5 "the line Message=Saved over zeros" has_line "$f" "Message=Saved over zeros" || return 1
    unchanged "$f" "$CASE_DIR/expected.ini"
    assert_running
}

# A message of 100,000 characters on the command line. The command line's length is a 16-bit
# integer, which cannot hold it: that store fails and is skipped, so the length stays
# 0 and the command line is not read at all. The program runs on with the
# settings file's message.
f_long_message() {
    reference_folder || return 1
    local long
    long=$(printf 'abcdefghi %.0s' $(seq 10000))
    long=${long% }!
    start_in "$DIR" /ss=5m /t2=5 "/m=$long"
    wait_window 10 || return 1
    wait_title 6 '^[0-9.]+m-> Default Message$' || return 1
    sleep 1
    unchanged "$DIR/Pingolet.ini" "$REF"
    assert_running
}

# A message of 32,000 characters on the command line (the line just fits a 16-bit length):
# shown whole in the title, and once edited Save New Settings writes it whole.
f_long_message_saved() {
    reference_folder || return 1
    local long
    long=$(printf 'abcdefghi %.0s' $(seq 3200))
    long=${long% }!
    start_in "$DIR" /ss=5m /t2=5 "/m=$long"
    wait_window 10 || return 1
    wait_title_ends 6 "m-> $long" || return 1
    # Save New Settings is available once the message was edited: one more character at its end.
    focus_window
    xdotool mousemove --window "$WIN" 60 30 click 1
    xdotool key --clearmodifiers ctrl+End
    xdotool type "?"
    long+="?"
    wait_title_ends 5 "m-> $long" || return 1
    click_save
    wait_for 10 "the ${#long}-character message in Pingolet.ini" has_line "$DIR/Pingolet.ini" "Message=$long" ||
        return 1
    cmp -s <(sed 2d "$REF") <(sed 2d "$DIR/Pingolet.ini") || fail "lines other than Message changed"
    assert_running
    stop_pid "$PID"
    # Read back, a value arrives cut to 254 characters.
    start_in "$DIR" /t2=5
    wait_window 10 || return 1
    wait_title_ends 6 "m-> ${long:0:254}" || return 1
    assert_running
}

# A Message key of 100,000 characters in the settings file arrives cut to 254 characters.
f_long_ini_message() {
    new_folder
    local long
    long=$(printf 'x%.0s' $(seq 100000))
    ini_with "$DIR/Pingolet.ini" "Message=$long" "BeepIntervalSet=5" "StartSet=0" || return 1
    cp "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    start_in "$DIR"
    wait_window 10 || return 1
    wait_title 6 "^${ARROW}x{254}\$" || return 1
    unchanged "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    assert_running
}

# A BEEP command that does not exist: no beep, nothing in its place, the alarm goes on.
f_missing_beep_command() {
    new_folder
    ini_with "$DIR/Pingolet.ini" "BEEP=/no/such/beep" "StartSet=0" || return 1
    cp "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    rec_start || return 1
    start_in "$DIR" /t2=5 /m=Beepless
    wait_window 10 || return 1
    wait_title 5 "^${ARROW}Beepless\$" || return 1
    local first=$TITLE m
    TITLE_RE="^${ARROW}Beepless\$"
    wait_for 3 "the alarm's updates to go on (the arrow to move)" _title_moved "$first" || return 1
    sleep 0.5 # past the start-up beep, which is the system's
    m=$(rec_mark)
    sleep 1.5
    assert_quiet "$m" "" "with a BEEP command that does not exist"
    unchanged "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    assert_running
}

# A BEEP command that exists is started at the updates.
f_beep_command() {
    new_folder
    ini_with "$DIR/Pingolet.ini" "BEEP=/bin/touch $DIR/beeped" "StartSet=0" || return 1
    start_in "$DIR" /t2=5 /m=Custom beep
    wait_window 10 || return 1
    cp "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    wait_for 5 "the BEEP command to create $DIR/beeped" test -e "$DIR/beeped" || return 1
    unchanged "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    assert_running
}

# A slow BEEP command is not started again while the one before still runs.
f_slow_beep_command() {
    new_folder
    local tag="2.$$$RANDOM"
    ini_with "$DIR/Pingolet.ini" "BEEP=/bin/sleep $tag" "StartSet=0" || return 1
    start_in "$DIR" /t2=5 /m=Slow beep
    wait_window 10 || return 1
    wait_for 5 "the BEEP command /bin/sleep $tag to run" _beeps_running 1 || return 1
    local i n most=0
    for i in $(seq 15); do
        n=$(_count_beeps)
        [ "$n" -gt "$most" ] && most=$n
        sleep 0.1
    done
    [ "$most" -le 1 ] || fail "$most BEEP commands ran at once at an update every 250 ms"
    assert_running
}
_count_beeps() { ps -eo args= | grep -c -x -F -- "/bin/sleep $tag"; }
_beeps_running() { [ "$(_count_beeps)" -ge "$1" ]; }

# An editor that does not exist: "More", then "Help" does nothing visible.
f_missing_editor() {
    new_folder
    ini_with "$DIR/Pingolet.ini" "INI_Edit=/no/such/editor" "BeepIntervalSet=5" || return 1
    cp "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    start_in "$DIR"
    wait_window 10 || return 1
    wait_title 5 'm-> Default Message$' || return 1
    focus_window
    shot "$CASE_DIR/closed.png"
    click_more
    wait_for 3 "the Additional Control Area to open (its fields at the right)" _area_opened || return 1
    click_help
    sleep 1.5
    [[ $(title) == *"m-> Default Message" ]] || fail "the message changed: $(title)"
    unchanged "$DIR/Pingolet.ini" "$CASE_DIR/before.ini"
    assert_running
}
# The strip at the right, above the bottom row, changed from closed.png: fields and the Help
# button appeared, the slider moved.
_area_opened() {
    shot "$CASE_DIR/open.png" || return 1
    client_size
    local g="80x$((CH - 40))+$((CW - 80))+0" n
    n=$(compare -metric AE "$CASE_DIR/closed.png[$g]" "$CASE_DIR/open.png[$g]" null: 2>&1)
    n=${n%% *}
    LAST="$n pixels of the right strip changed"
    [ "${n%.*}" -gt 500 ] 2>/dev/null
}

# No settings file: "Help" says how to build one.
f_help_without_file() {
    new_folder
    start_in "$DIR" /ss=5m /t2=5
    wait_window 10 || return 1
    wait_title 5 'm-> Default Message$' || return 1
    focus_window
    shot "$CASE_DIR/closed.png"
    click_more
    wait_for 3 "the Additional Control Area to open (its fields at the right)" _area_opened || return 1
    click_help
    wait_title_ends 5 "Reduce this message to the two characters «/?» to build the missing combination HELP and .INI file." ||
        return 1
    [ -e "$DIR/Pingolet.ini" ] && fail "Help created a settings file"
    assert_running
}

FAULTS=(
    "F1 read-only settings file:f_readonly"
    "F2 settings file is a directory:f_directory"
    "F3 settings file in an unwritable folder:f_unwritable_folder"
    "F4 settings file on a full disk:f_full_disk"
    "F5 settings file vanishes, then Save:f_vanished"
    "F6 settings file is a symbolic link:f_symlink"
    "F7 settings file of 50 MB:f_huge_file"
    "F8 settings file of random bytes:f_random_file"
    "F9 settings file with 1 MB lines and NUL bytes:f_nul_lines"
    "F10 message of 100,000 characters (/m=), too long for the command line:f_long_message"
    "F10b message of 32,000 characters (/m=), saved:f_long_message_saved"
    "F11 Message key of 100,000 characters:f_long_ini_message"
    "F12 BEEP command that does not exist:f_missing_beep_command"
    "F13 BEEP command that exists:f_beep_command"
    "F13b slow BEEP command is not piled up:f_slow_beep_command"
    "F14 INI_Edit editor that does not exist:f_missing_editor"
    "F15 Help without a settings file:f_help_without_file"
)

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    set -uo pipefail
    . "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
    started=$(now_ms)
    e2e_setup || { say "Set-up failed"; say "0 passed, 1 failed"; exit 1; }
    for entry in "${FAULTS[@]}"; do
        fn=${entry##*:}
        if [ $# -gt 0 ]; then
            found=""
            for want in "$@"; do [ "$want" = "$fn" ] && found=1; done
            [ -n "$found" ] || continue
        fi
        run_case "${entry%:*}" "$fn"
    done
    say "Total $(awk -v d=$(($(now_ms) - started)) 'BEGIN { printf "%.1f", d / 1000 }') s"
    summary
fi
