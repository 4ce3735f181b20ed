#!/usr/bin/env bash
# Soak run: the real program under a private Xvfb with openbox and a private PulseAudio, a ReRun
# message of Off=1s On=1s at slider 5 (an update every 250 ms), for 10 minutes, with the null
# sink recorded. Reports resident memory after 1 and after 10 minutes, CPU each minute, the On
# periods (from the title) against the beeps in the recording, and the cycle count in the corner
# box against the elapsed time. Not part of ./test.sh.
#   tests/soak/run.sh            10 minutes
#   SOAK_MINUTES=2 tests/soak/run.sh
# Exits non-zero when memory grew by more than 1 MB, an On period had no beep, or the count is off.
set -uo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
SOAK_DIR="$E2E_DIR/../soak"
MINUTES=${SOAK_MINUTES:-10}
E2E_PACKAGES="$E2E_PACKAGES python3 python3-numpy tesseract-ocr"

status_kb() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }
cpu_ticks() { awk '{ sub(/.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

main() {
    e2e_setup || { say "Set-up failed"; exit 1; }
    CASE_DIR="$TMPROOT/soak"
    mkdir -p "$CASE_DIR"
    : >"$CASE_DIR/pids"
    # The message comes from the settings file: any argument would arm it as a plain alarm.
    reference_ini && new_folder && ini_with "$DIR/Pingolet.ini" "StartSet=0" "BeepIntervalSet=5" \
        "Message=ReRun: Off=1s On=1s : soak" || { cat "$CASE_DIR/reason"; exit 1; }
    rec_start || { cat "$CASE_DIR/reason"; exit 1; }
    start_in "$DIR"
    wait_window 10 || { cat "$CASE_DIR/reason"; exit 1; }
    local t0 rec0 end minute=0 hz last_ticks ticks rss1="" rss cpu_line=""
    t0=$(now_ms)
    rec0=$(rec_mark)
    hz=$(getconf CLK_TCK)
    last_ticks=$(cpu_ticks "$PID")
    end=$((t0 + MINUTES * 60000))
    say "pingolet $PINGOLET, pid $PID, $MINUTES min from $(date +%T)"
    # The title every 50 ms, with the recording's position, to find the On periods.
    : >"$CASE_DIR/titles"
    while [ "$(now_ms)" -lt "$end" ]; do
        running "$PID" || { say "the program ended"; exit 1; }
        printf '%s\t%s\n' "$(rec_mark)" "$(title)" >>"$CASE_DIR/titles"
        if [ $(($(now_ms) - t0)) -ge $(((minute + 1) * 60000)) ]; then
            minute=$((minute + 1))
            ticks=$(cpu_ticks "$PID")
            rss=$(status_kb "$PID" VmRSS)
            [ "$minute" -eq 1 ] && rss1=$rss
            cpu_line+=" $(awk -v d=$((ticks - last_ticks)) -v hz="$hz" 'BEGIN { printf "%.2f", 100 * d / hz / 60 }')"
            say "minute $minute: RSS $rss kB, CPU $(echo "$cpu_line" | awk '{ print $NF }') % of a core"
            last_ticks=$ticks
        fi
        sleep 0.05
    done
    rss=$(status_kb "$PID" VmRSS)
    local elapsed count
    elapsed=$(awk -v d=$(($(now_ms) - t0)) 'BEGIN { printf "%.1f", d / 1000 }')
    count=$(cycle_count)
    stop_pid "$PID"
    stop_pid "$REC_PID"
    /usr/bin/python3 "$SOAK_DIR/beeps.py" "$REC" "$CASE_DIR/titles" "$rec0" \
        --rss "$rss1" "$rss" --cpu "$cpu_line" --elapsed "$elapsed" --count "$count"
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
