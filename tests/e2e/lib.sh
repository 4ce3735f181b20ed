# Shared by run.sh and faults.sh: the private X display and sound server, the program under
# test in a folder of its own, and the small helpers the scenarios are written with.
# Sourced, not run. Everything it starts is recorded and stopped by e2e_cleanup.

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$E2E_DIR/../.." && pwd)"

E2E_PACKAGES="xvfb xauth openbox xdotool wmctrl x11-utils pulseaudio pulseaudio-utils sox imagemagick
  dbus-daemon python3-dbus python3-gi"
RATE=44100                   # the recording's sample rate, one channel of 16-bit samples
LOUD=0.1                     # a beep peaks at 0.5; a silent null sink gives exact zeros
QUIET=0.01
ARROW='(->---|-->--|--->-|---->) ' # the running arrow of the title, as an ERE
CASE_LIMIT=${E2E_CASE_LIMIT:-45}  # seconds a scenario may take before it is stopped

PASSED=0
FAILED=0
SKIPPED=0
FAILED_NAMES=()

say() { printf '%s\n' "$*"; }
now_ms() { date +%s%3N; }

# ---------------------------------------------------------------------------------------------
# Set-up: packages, the program, the display, the window manager, the sound server.

e2e_install() {
    # shellcheck source=/dev/null
    . "$ROOT/scripts/packages.sh"
    # shellcheck disable=SC2086
    install_missing $E2E_PACKAGES
}

# Sets PINGOLET to the program to test: $PINGOLET if given, test.sh's build, or a build of its own.
e2e_program() {
    if [ -n "${PINGOLET:-}" ] && [ -x "$PINGOLET" ]; then
        return 0
    fi
    if [ -x "$ROOT/build-tests/pingolet" ]; then
        PINGOLET="$ROOT/build-tests/pingolet"
        return 0
    fi
    # shellcheck source=/dev/null
    . "$ROOT/scripts/packages.sh"
    # shellcheck disable=SC2086
    install_missing $BUILD_PACKAGES
    say "Building pingolet into build-e2e"
    cmake -S "$ROOT" -B "$ROOT/build-e2e" -G Ninja -DBUILD_TESTING=OFF >/dev/null &&
        cmake --build "$ROOT/build-e2e" --target pingolet --parallel 2 >/dev/null || return 1
    PINGOLET="$ROOT/build-e2e/pingolet"
}

# A process's start time (in clock ticks since boot), which tells it from a later process
# that was given the same id.
pid_start() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    # shellcheck disable=SC2086
    set -- $stat
    echo "${20}"
}

# record_pid PID FILE: notes a process this suite started, with its start time.
record_pid() { echo "$1 $(pid_start "$1")" >>"$2"; }

# Records a process of the set-up, so that the cleanup stops it.
own_pid() { record_pid "$1" "$TMPROOT/pids"; }

# Stops one process this suite started, by its id, if it is still the process it recorded.
stop_pid() {
    local pid=$1 i recorded
    kill -0 "$pid" 2>/dev/null || return 0
    recorded=$(cat "${CASE_DIR:-/nonexistent}/pids" "$TMPROOT/pids" 2>/dev/null |
        awk -v p="$pid" '$1 == p { s = $2 } END { print s }')
    [ -n "$recorded" ] && [ "$(pid_start "$pid")" = "$recorded" ] || return 0
    kill -TERM "$pid" 2>/dev/null
    for i in $(seq 40); do
        kill -0 "$pid" 2>/dev/null || return 0
        # A child that ended but was not yet reaped counts as ended.
        [ "$(ps -o stat= -p "$pid" 2>/dev/null | cut -c1)" = Z ] && return 0
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null
    return 0
}

start_xvfb() {
    local n i cookie
    cookie=$(mcookie 2>/dev/null || od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    export XAUTHORITY="$TMPROOT/Xauthority"
    for n in $(seq 90 160); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        : >"$XAUTHORITY"
        xauth -q -f "$XAUTHORITY" add ":$n" . "$cookie" 2>/dev/null
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset -auth "$XAUTHORITY" \
            >"$TMPROOT/xvfb.log" 2>&1 &
        XVFB_PID=$!
        own_pid "$XVFB_PID"
        for i in $(seq 100); do
            kill -0 "$XVFB_PID" 2>/dev/null || break
            if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.05
        done
        stop_pid "$XVFB_PID" # another server took the number meanwhile: try the next
    done
    say "Could not start Xvfb on any display from :90 to :160 (see $TMPROOT/xvfb.log)"
    return 1
}

start_openbox() {
    local i
    openbox --sm-disable >"$TMPROOT/openbox.log" 2>&1 &
    OPENBOX_PID=$!
    own_pid "$OPENBOX_PID"
    for i in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        kill -0 "$OPENBOX_PID" 2>/dev/null || break
        sleep 0.05
    done
    say "openbox did not come up within 5 s (see $TMPROOT/openbox.log)"
    return 1
}

start_pulse() {
    local i
    mkdir -p "$TMPROOT/home" "$TMPROOT/xdg"
    chmod 700 "$TMPROOT/xdg"
    export HOME="$TMPROOT/home" XDG_RUNTIME_DIR="$TMPROOT/xdg"
    export PULSE_RUNTIME_PATH="$TMPROOT/xdg/pulse" PULSE_SERVER="unix:$TMPROOT/native"
    # No suspend-on-idle module: the sink keeps running, so a recording starts at once.
    cat >"$TMPROOT/pa.pa" <<EOF
load-module module-null-sink sink_name=e2e
load-module module-native-protocol-unix auth-anonymous=1 socket=$TMPROOT/native
set-default-sink e2e
EOF
    pulseaudio -n --daemonize=no --system=no --exit-idle-time=-1 --disallow-exit \
        --use-pid-file=no --log-target=stderr -F "$TMPROOT/pa.pa" >"$TMPROOT/pulse.log" 2>&1 &
    PULSE_PID=$!
    own_pid "$PULSE_PID"
    for i in $(seq 100); do
        pactl info >/dev/null 2>&1 && return 0
        kill -0 "$PULSE_PID" 2>/dev/null || break
        sleep 0.1
    done
    say "The private PulseAudio server did not answer 'pactl info' within 10 s (see $TMPROOT/pulse.log)"
    return 1
}

e2e_setup() {
    TMPROOT=$(mktemp -d /tmp/pingolet-e2e.XXXXXX)
    : >"$TMPROOT/pids"
    : >"$TMPROOT/mounts"
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY SESSION_MANAGER
    export LC_ALL=C.UTF-8
    e2e_install || return 1
    e2e_program || { say "No pingolet to test"; return 1; }
    start_xvfb && start_openbox && start_pulse
}

e2e_cleanup() {
    local pid m
    set +e
    if [ -n "${TMPROOT:-}" ] && [ -d "$TMPROOT" ]; then
        # The programs first, the servers they talk to last.
        tac "$TMPROOT/pids" 2>/dev/null | while read -r pid _; do [ -n "$pid" ] && stop_pid "$pid"; done
        while read -r m; do [ -n "$m" ] && umount "$m" 2>/dev/null; done <"$TMPROOT/mounts"
        chmod -R u+w "$TMPROOT" 2>/dev/null
        if [ -n "${E2E_KEEP:-}" ]; then say "Kept $TMPROOT"; else rm -rf "$TMPROOT"; fi
    fi
}

# ---------------------------------------------------------------------------------------------
# Running scenarios. A scenario is a function; it runs in a subshell within CASE_LIMIT seconds.
# It fails by calling `fail "what it waited for"` (which returns 1), or by returning non-zero;
# it is skipped by returning 77 (say why with `note`).

fail() {
    printf '%s\n' "$*" >>"$CASE_DIR/reason"
    return 1
}
note() { printf '%s\n' "$*" >>"$CASE_DIR/notes"; }

run_case() {
    local name=$1 fn=$2 start end rc cpid child
    CASE_NO=$((${CASE_NO:-0} + 1))
    CASE_DIR="$TMPROOT/$(printf '%02d' "$CASE_NO")-$fn"
    mkdir -p "$CASE_DIR"
    : >"$CASE_DIR/pids"
    start=$(now_ms)
    ("$fn") >"$CASE_DIR/output" 2>&1 &
    cpid=$!
    while kill -0 "$cpid" 2>/dev/null; do
        if [ $(($(now_ms) - start)) -gt $((CASE_LIMIT * 1000)) ]; then
            for child in $(ps -o pid= --ppid "$cpid" 2>/dev/null); do kill "$child" 2>/dev/null; done
            kill "$cpid" 2>/dev/null
            printf 'stopped after the time bound of %s s\n' "$CASE_LIMIT" >>"$CASE_DIR/reason"
            break
        fi
        sleep 0.1
    done
    wait "$cpid"
    rc=$?
    end=$(now_ms)
    # Whatever the scenario started and left running ends with it.
    while read -r child _; do [ -n "$child" ] && stop_pid "$child"; done <"$CASE_DIR/pids"
    local secs
    secs=$(awk -v d=$((end - start)) 'BEGIN { printf "%.1f", d / 1000 }')
    if [ "$rc" -eq 77 ] && [ ! -s "$CASE_DIR/reason" ]; then
        SKIPPED=$((SKIPPED + 1))
        say "SKIP  $name  (${secs} s)"
    elif [ "$rc" -eq 0 ] && [ ! -s "$CASE_DIR/reason" ]; then
        PASSED=$((PASSED + 1))
        say "PASS  $name  (${secs} s)"
    else
        FAILED=$((FAILED + 1))
        FAILED_NAMES+=("$name")
        say "FAIL  $name  (${secs} s)"
        if [ -s "$CASE_DIR/reason" ]; then sed 's/^/      /' "$CASE_DIR/reason"; else say "      exit status $rc"; fi
        if [ -s "$CASE_DIR/output" ]; then say "      output:"; tail -n 15 "$CASE_DIR/output" | sed 's/^/        /'; fi
    fi
    [ -s "$CASE_DIR/notes" ] && sed 's/^/      note: /' "$CASE_DIR/notes"
    return 0
}

summary() {
    say ""
    [ "$FAILED" -gt 0 ] && say "Failed: ${FAILED_NAMES[*]}"
    [ "$SKIPPED" -gt 0 ] && say "Skipped: $SKIPPED"
    say "$PASSED passed, $FAILED failed"
    [ "$FAILED" -eq 0 ]
}

# ---------------------------------------------------------------------------------------------
# Helpers for scenarios (they run inside the scenario's subshell).

# wait_for SECONDS "what is waited for" command...: polls the command until it succeeds.
# The command may set LAST to what it saw; a time-out reports it.
# poll SECS COMMAND...: whether the command succeeds within the time, tried every 50 ms.
poll() {
    local deadline
    deadline=$(($(now_ms) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }')))
    shift
    while :; do
        "$@" && return 0
        [ "$(now_ms)" -ge "$deadline" ] && return 1
        sleep 0.05
    done
}

wait_for() {
    local secs=$1 what=$2
    shift 2
    LAST=""
    poll "$secs" "$@" && return 0
    fail "waited ${secs} s for $what${LAST:+; last saw: $LAST}"
}

# A fresh program folder with its own copy of the program: new_folder NAME -> sets DIR.
new_folder() {
    DIR="$CASE_DIR/${1:-prog}"
    mkdir -p "$DIR"
    cp "$PINGOLET" "$DIR/pingolet"
}

# start_in DIR args...: starts the copy in DIR with the arguments; sets PID.
start_in() {
    local dir=$1
    shift
    (cd "$dir" && exec ./pingolet "$@") >>"$CASE_DIR/pingolet.log" 2>&1 &
    PID=$!
    record_pid "$PID" "$CASE_DIR/pids"
}

running() { kill -0 "$1" 2>/dev/null && [ "$(ps -o stat= -p "$1" | cut -c1)" != Z ]; }
ended() { ! running "$1"; }

assert_running() {
    running "$PID" || fail "the program (pid $PID) is no longer running${1:+ ($1)}"
}

# The program's main window: visible, of class pingolet, with a title, of process $PID.
find_window() {
    local w best="" area bestarea=0 g
    for w in $(xdotool search --all --onlyvisible --pid "$PID" --class pingolet 2>/dev/null); do
        g=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
        # shellcheck disable=SC2086
        area=$(awk -v w=${g% *} -v h=${g#* } 'BEGIN { print w * h }')
        if [ "$area" -gt "$bestarea" ]; then best=$w bestarea=$area; fi
    done
    [ -n "$best" ] && WIN=$best
}

# wait_window [SECONDS]: sets WIN once the program's window is shown.
wait_window() {
    WIN=""
    wait_for "${1:-10}" "the window of pid $PID to appear (xdotool search --onlyvisible --class pingolet)" \
        _window_or_end
}
_window_or_end() {
    find_window && return 0
    running "$PID" || { LAST="the program ended"; return 1; }
    return 1
}

title() {
    xprop -id "$WIN" -notype _NET_WM_NAME 2>/dev/null |
        sed -n '1s/^_NET_WM_NAME = "\(.*\)"$/\1/p' | sed 's/\\"/"/g; s/\\\\/\\/g'
}

# wait_title_ends SECONDS TEXT: the window title ends with the text, taken literally.
wait_title_ends() {
    TITLE_END=$2
    wait_for "$1" "the title to end with \"$2\"" _title_ends
}
_title_ends() {
    TITLE=$(title)
    LAST="title \"${TITLE:0:300}\""
    [[ $TITLE == *"$TITLE_END" ]]
}

# wait_title_has SECONDS TEXT: the window title holds the text, taken literally.
wait_title_has() {
    TITLE_END=$2
    wait_for "$1" "the title to hold \"$2\"" _title_has
}
_title_has() {
    TITLE=$(title)
    LAST="title \"${TITLE:0:300}\""
    [[ $TITLE == *"$TITLE_END"* ]]
}

# wait_title SECONDS ERE: the window title matches the extended regular expression.
wait_title() {
    TITLE_RE=$2
    wait_for "$1" "the title to match /$2/" _title_matches
}
_title_matches() {
    TITLE=$(title)
    LAST="title \"${TITLE:0:200}\""
    [[ $TITLE =~ $TITLE_RE ]]
}

# The title matches TITLE_RE and differs from $1.
_title_moved() { _title_matches && [ "$TITLE" != "$1" ]; }

# The client area's size: sets CW and CH.
client_size() {
    local g
    g=$(xdotool getwindowgeometry "$WIN" | sed -n 's/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p')
    CW=${g% *}
    CH=${g#* }
}

# Points of the controls, in client pixels. The layout places them from the outer size, that
# is the client plus the frame the form counts (no side borders, a 27-pixel title).
#   Save New Settings: left W - 4400, top H - 820 twips, 1575 x 325;
#   More / Help: left W - 625, tops 120 and 480, 505 x 290.
click_at() {
    xdotool mousemove --window "$WIN" "$1" "$2" click 1
    sleep 0.1
    xdotool mousemove 1279 1023 # away, so that no tooltip lies over the window
}
click_save() { client_size && click_at $((CW - 236)) $((CH - 18)); }
click_more() { client_size && click_at $((CW - 20)) 18; }
click_help() { client_size && click_at $((CW - 20)) 42; }

focus_window() {
    xdotool windowactivate --sync "$WIN" >/dev/null 2>&1 || xdotool windowfocus --sync "$WIN"
}

# Replaces the whole message with the text, typed.
type_message() {
    focus_window
    xdotool mousemove --window "$WIN" 60 30 click 1
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 15 -- "$1"
    xdotool mousemove 1279 1023
}

# A screenshot of the window: shot FILE.
shot() { import -window "$WIN" "$1" 2>/dev/null; }

# count_pixels FILE GEOMETRY KIND: "COUNT TOTAL", how many pixels of the region are of the kind
# (red, black, green, yellow, orange), and how many it has.
count_pixels() {
    local test
    case $3 in
    red) test='r>0.7&&g<0.35&&b<0.35' ;;
    black) test='r<0.27&&g<0.27&&b<0.27' ;;
    green) test='g>0.7&&r<0.35&&b<0.35' ;;
    yellow) test='r>0.7&&g>0.7&&b<0.35' ;;
    orange) test='r>0.7&&g>0.35&&g<0.67&&b<0.35' ;;
    esac
    convert "$1" -crop "$2" +repage -fx "($test)?1:0" -format '%[fx:round(mean*w*h)] %[fx:w*h]\n' info: 2>/dev/null ||
        echo "0 0"
}

# The Message Area in client pixels (left 120, top 120 twips; width W - 800 - R, height H - 1000).
message_area_geometry() {
    client_size
    echo "$((CW - 70))x$((CH - 70))+10+10"
}

# "RED DARK": of up to 16 shots of the flashing message, how many show red text and how many
# black. The text flips at every update, and a shot takes about as long as one: shots at a
# steady pace could land in the same phase every time, so each waits a random part of 250 ms.
flash_shots() {
    local i red=0 dark=0 r b
    for i in $(seq 16); do
        shot "$CASE_DIR/flash$i.png"
        r=$(count_pixels "$CASE_DIR/flash$i.png" "$(message_area_geometry)" red)
        b=$(count_pixels "$CASE_DIR/flash$i.png" "$(message_area_geometry)" black)
        r=${r% *} b=${b% *}
        [ "$r" -ge 30 ] && red=$((red + 1))
        [ "$r" -lt 5 ] && [ "$b" -ge 30 ] && dark=$((dark + 1))
        [ "$red" -gt 0 ] && [ "$dark" -gt 0 ] && break
        sleep "0.$(printf '%03d' $((RANDOM % 250)))"
    done
    echo "$red $dark"
}

# share_of FILE KIND: the percentage of the Message Area's pixels of that kind.
share_of() {
    local counts
    counts=$(count_pixels "$1" "$(message_area_geometry)" "$2")
    awk -v n="${counts% *}" -v t="${counts#* }" 'BEGIN { printf "%d", t ? 100 * n / t : 0 }'
}

# ---------------------------------------------------------------------------------------------
# Sound: the null sink's monitor recorded while the program runs.

rec_start() {
    REC="$CASE_DIR/rec${1:-}.raw"
    parec -d e2e.monitor --raw --format=s16le --rate=$RATE --channels=1 --latency-msec=20 \
        >"$REC" 2>>"$CASE_DIR/parec.log" &
    REC_PID=$!
    record_pid "$REC_PID" "$CASE_DIR/pids"
    wait_for 5 "parec to start recording the monitor of the null sink" _rec_has_data
}
_rec_has_data() { [ -s "$REC" ]; }

# The recording's length so far, in samples.
rec_mark() { echo $(($(stat -c %s "$REC") / 2)); }
rec_seconds() { awk -v n="$(rec_mark)" -v r=$RATE 'BEGIN { printf "%.2f", n / r }'; }

# rec_peak FROM [TO]: the maximum amplitude (0 to 1) of the samples FROM to TO (or the end).
rec_peak() {
    local from=$1 to=${2:-$(rec_mark)}
    [ "$to" -gt "$from" ] || { echo 0; return; }
    tail -c +$((from * 2 + 1)) "$REC" | head -c $(((to - from) * 2)) |
        sox -t raw -r $RATE -e signed -b 16 -c 1 - -n stat 2>&1 |
        awk '/Maximum amplitude/ { print $3; found = 1 } END { if (!found) print 0 }'
}

# Seconds as samples.
samples() { awk -v s="$1" -v r=$RATE 'BEGIN { printf "%d", s * r }'; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# wait_loud SECONDS FROM: a beep shows in the recording after sample FROM.
wait_loud() {
    LOUD_FROM=$2
    wait_for "$1" "a beep in the recording (peak above $LOUD after $(awk -v n="$2" -v r=$RATE 'BEGIN { printf "%.2f", n / r }') s)" _is_loud
}
_is_loud() {
    PEAK=$(rec_peak "$LOUD_FROM")
    LAST="peak $PEAK"
    above "$PEAK" "$LOUD"
}

# assert_quiet FROM [TO] "what": no beep in that stretch of the recording.
assert_quiet() {
    local peak
    peak=$(rec_peak "$1" "${2:-$(rec_mark)}")
    above "$peak" "$QUIET" && { fail "expected silence ${3:-}, but the recording peaks at $peak"; return 1; }
    return 0
}

# ---------------------------------------------------------------------------------------------
# Settings files.

# The settings-and-help file as "/?" writes it, made once per run.
reference_ini() {
    REF="$TMPROOT/reference.ini"
    [ -s "$REF" ] && return 0
    new_folder reference
    start_in "$DIR" "/?"
    wait_for 10 "\"pingolet /?\" to write $DIR/Pingolet.ini" test -s "$DIR/Pingolet.ini" || return 1
    sleep 0.2
    stop_pid "$PID"
    cp "$DIR/Pingolet.ini" "$REF.tmp" && mv "$REF.tmp" "$REF"
}

# A fresh program folder ($DIR) whose settings file is a copy of the reference one.
reference_folder() {
    reference_ini || return 1
    new_folder
    cp "$REF" "$DIR/Pingolet.ini"
}

# The reference file with some keys of User-Data changed: ini_with FILE KEY=VALUE...
ini_with() {
    local out=$1
    shift
    reference_ini || return 1
    cp "$REF" "$out"
    local kv key value
    for kv in "$@"; do
        key=${kv%%=*}
        value=${kv#*=}
        KEY="$key" VALUE="$value" awk 'BEGIN { k = ENVIRON["KEY"]; v = ENVIRON["VALUE"] }
            index($0, k " = ") == 1 && !done { printf "%s = %s\r\n", k, v; done = 1; next }
            { print }' "$out" >"$out.tmp" && mv "$out.tmp" "$out"
    done
}

# A file holds exactly this line (CR LF ended).
has_line() { grep -q -x -F -- "$2"$'\r' "$1"; }
