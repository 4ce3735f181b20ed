#!/usr/bin/env bash
# Soak run: two alarms side by side, the real program under a private Xvfb with openbox and a
# private PulseAudio, both at slider 5 (an update every 250 ms):
#   rerun  the ReRun message Off=1s On=1s: the Message Area turns yellow and orange in turn, and
#          every update of an On period beeps; the null sink is recorded
#   flash  an alarm past its DropDead time: the In-Your-Face stage, where every update raises
#          the window and flips the message between black and red
# Reports each one's resident memory every minute and its growth in kB a minute from minute 5 to
# the end (from the middle of a run shorter than ten minutes), and CPU each minute; for the ReRun
# alarm the On periods (from the title) against the tones in the recording, and the cycle count
# in the corner box against the elapsed time; for the flashing one, shots with red and with black
# text. Not part of ./test.sh.
#   tests/soak/run.sh                  10 minutes
#   SOAK_MINUTES=60 tests/soak/run.sh  the hour the target is set for
# Exits non-zero when either alarm grew by 2 kB a minute or more, an On period had no beep, the
# count is off, or the message did not flash.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
SOAK_DIR="$E2E_DIR/../soak"
MINUTES=${SOAK_MINUTES:-10}
# The slope is taken once start-up and the first fills of Qt's caches are over.
FROM=$((MINUTES >= 10 ? 5 : MINUTES / 2))
E2E_PACKAGES="$E2E_PACKAGES python3 python3-numpy tesseract-ocr"

status_kb() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }
cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
cpu_percent() { awk -v d="$1" -v hz="$HZ" 'BEGIN { printf "%.2f", 100 * d / hz / 60 }'; }

main() {
    e2e_setup || { say "Set-up failed"; exit 1; }
    CASE_DIR="$TMPROOT/soak"
    mkdir -p "$CASE_DIR"
    : >"$CASE_DIR/pids"
    # The flashing alarm beeps until its DropDead time: into a sink of its own, so that the
    # recording holds the ReRun alarm's beeps alone.
    pactl load-module module-null-sink sink_name=flash >/dev/null || { say "no second sink"; exit 1; }

    # The message comes from the settings file: any argument would arm it as a plain alarm.
    reference_ini && new_folder rerun && ini_with "$DIR/Pingolet.ini" "StartSet=0" \
        "BeepIntervalSet=5" "Message=ReRun: Off=1s On=1s : soak" || { cat "$CASE_DIR/reason"; exit 1; }
    rec_start || { cat "$CASE_DIR/reason"; exit 1; }
    start_in "$DIR"
    RERUN=$PID
    wait_window 10 || { cat "$CASE_DIR/reason"; exit 1; }
    WIN_RERUN=$WIN
    # Apart, so that the window raised at every flash never covers the other one's corner box.
    xdotool windowmove "$WIN_RERUN" 0 0

    new_folder flash && cp "$REF" "$DIR/Pingolet.ini"
    PULSE_SINK=flash start_in "$DIR" /t1=1 /t2=5 /ss=2s /dd=5s "/m=Soak flash"
    FLASH=$PID
    wait_window 10 || { cat "$CASE_DIR/reason"; exit 1; }
    WIN_FLASH=$WIN
    xdotool windowmove "$WIN_FLASH" 640 480

    local t0 rec0 minute=0 rss_rerun="" rss_flash="" cpu_rerun="" cpu_flash=""
    local ticks_rerun ticks_flash last_rerun last_flash
    HZ=$(getconf CLK_TCK)
    t0=$(now_ms)
    rec0=$(rec_mark)
    last_rerun=$(cpu_ticks "$RERUN")
    last_flash=$(cpu_ticks "$FLASH")
    say "pingolet $PINGOLET, pids $RERUN (rerun) and $FLASH (flash), $MINUTES min from $(date +%T)"
    # The ReRun alarm's title every 50 ms, with the recording's position, to find the On periods.
    : >"$CASE_DIR/titles"
    WIN=$WIN_RERUN
    while [ "$minute" -lt "$MINUTES" ]; do
        running "$RERUN" || { say "the ReRun alarm ended"; exit 1; }
        running "$FLASH" || { say "the flashing alarm ended"; exit 1; }
        printf '%s\t%s\n' "$(rec_mark)" "$(title)" >>"$CASE_DIR/titles"
        if [ $(($(now_ms) - t0)) -ge $(((minute + 1) * 60000)) ]; then
            minute=$((minute + 1))
            ticks_rerun=$(cpu_ticks "$RERUN")
            ticks_flash=$(cpu_ticks "$FLASH")
            rss_rerun+=" $(status_kb "$RERUN" VmRSS)"
            rss_flash+=" $(status_kb "$FLASH" VmRSS)"
            cpu_rerun+=" $(cpu_percent $((ticks_rerun - last_rerun)))"
            cpu_flash+=" $(cpu_percent $((ticks_flash - last_flash)))"
            say "minute $minute: RSS ${rss_rerun##* } kB (rerun), ${rss_flash##* } kB (flash)"
            last_rerun=$ticks_rerun
            last_flash=$ticks_flash
        fi
        sleep 0.05
    done
    local elapsed count flashes
    elapsed=$(awk -v d=$(($(now_ms) - t0)) 'BEGIN { printf "%.1f", d / 1000 }')
    count=$(cycle_count)
    WIN=$WIN_FLASH
    flashes=$(flash_shots)
    stop_pid "$RERUN"
    stop_pid "$FLASH"
    stop_pid "$REC_PID"
    /usr/bin/python3 "$SOAK_DIR/report.py" "$REC" "$CASE_DIR/titles" "$rec0" \
        --memory rerun "$rss_rerun" --memory flash "$rss_flash" --from-minute "$FROM" \
        --cpu rerun "$cpu_rerun" --cpu flash "$cpu_flash" \
        --elapsed "$elapsed" --count "$count" --flashes "$flashes"
}

# The ReRun count in the corner box, read from a screenshot (enlarged for the OCR).
cycle_count() {
    local x y
    shot "$CASE_DIR/end.png"
    client_size
    # The box: left 240, top H - 1170 twips (outer), 1410 x 195 twips; 15 twips a pixel.
    x=16 y=$((CH - 1170 / 15 + 25 - 2))
    convert "$CASE_DIR/end.png" -crop "94x17+$x+$y" +repage -colorspace Gray -resize 400% \
        -threshold 50% "$CASE_DIR/count.png" 2>/dev/null
    tesseract "$CASE_DIR/count.png" - --psm 7 -c tessedit_char_whitelist=0123456789. 2>/dev/null |
        tr -d ' \n'
}

main "$@"
