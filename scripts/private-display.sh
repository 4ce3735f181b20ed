# shellcheck shell=bash
# Sourced by the scripts that run Pingolet on an X server of their own (the benchmark, the
# screenshot). private_work makes WORK and stops every process in PIDS when the script ends;
# start_xvfb SIZE starts the server and points DISPLAY at it (XVFB_PID is its process).

private_work() {
    WORK="$(mktemp -d "/tmp/$1.XXXXXX")"
    PIDS=()
    trap private_cleanup EXIT
}

private_cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}

# -displayfd picks a free display number and tells it once the server listens.
start_xvfb() {
    exec 5>"$WORK/display"
    Xvfb -displayfd 5 -screen 0 "$1" -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    PIDS+=("$XVFB_PID")
    exec 5>&-
    for _ in $(seq 100); do
        [ -s "$WORK/display" ] && break
        sleep 0.1
    done
    [ -s "$WORK/display" ] || { echo "Xvfb did not start:" >&2; cat "$WORK/xvfb.log" >&2; exit 1; }
    DISPLAY=":$(head -n1 "$WORK/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY
}
