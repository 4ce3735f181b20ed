#!/usr/bin/env bash
# The In-Your-Face stage on real desktops, each started headless here with its own session
# bus and XDG_RUNTIME_DIR, and torn down after: openbox on Xvfb, mutter with Xwayland and sway
# with Xwayland (as an unprivileged user: it refuses root); with --all also gnome-shell and KWin.
# On each, a user window has the focus and is typed into when the stage begins; prints what
# the desktop did with Pingolet's window and what went over the bus, as a table.
#   tests/desktops/run.sh [--all] [DESKTOP...]
# PINGOLET=/path/to/pingolet tests another build; DESK_KEEP=1 keeps the temporary folder.
set -uo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
. "$ROOT/scripts/packages.sh"

DESKS=(openbox mutter sway)
if [ "${1:-}" = --all ]; then
    shift
    DESKS+=(gnome-shell kwin)
    # shellcheck disable=SC2086
    install_missing $DESKTOP_PACKAGES $DESKTOP_ALL_PACKAGES || exit 1
else
    # shellcheck disable=SC2086
    install_missing $DESKTOP_PACKAGES || exit 1
fi
[ $# -gt 0 ] && DESKS=("$@")
LIMIT=${DESK_LIMIT:-60} # seconds a desktop may take before it is stopped

PINGOLET=${PINGOLET:-$ROOT/build-tests/pingolet}
[ -x "$PINGOLET" ] || { echo "No program at $PINGOLET: build it first (./test.sh does)"; exit 1; }
WORK=$(mktemp -d /tmp/pingolet-desktops.XXXXXX)
chmod 755 "$WORK"
cleanup() {
    [ -n "${DESK_KEEP:-}" ] && { echo "Kept $WORK"; return; }
    rm -rf "$WORK"
    rm -f "${LOCKS[@]}" 2>/dev/null
}
LOCKS=()
trap cleanup EXIT
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER XAUTHORITY

# A fresh folder for one desktop and user window: sets OUT, RUNTIME and HOME_DIR.
fresh() {
    OUT="$WORK/$1-$2"
    RUNTIME="$OUT/runtime"
    HOME_DIR="$OUT/home"
    mkdir -p "$OUT" "$RUNTIME" "$HOME_DIR"
    chmod 700 "$RUNTIME"
    : >"$OUT/result"
}

# run_bounded SECONDS COMMAND...: the desktop's whole process group ends within the time.
run_bounded() {
    local secs=$1
    shift
    setsid "$@" >"$OUT/desktop.log" 2>&1 &
    local pid=$! end=$(($(date +%s) + secs))
    while kill -0 "$pid" 2>/dev/null; do
        if [ "$(date +%s)" -ge "$end" ]; then
            echo "error=stopped after $secs s" >>"$OUT/result"
            kill -TERM -- "-$pid" 2>/dev/null
            sleep 2
            kill -KILL -- "-$pid" 2>/dev/null
            break
        fi
        sleep 0.2
    done
    wait "$pid" 2>/dev/null
    kill -TERM -- "-$pid" 2>/dev/null # whatever the desktop left running
    return 0
}

scenario_env() {
    echo "DESK=$1 USERWIN=$2 OUT=$OUT PINGOLET=$PINGOLET HOME=$HOME_DIR XDG_RUNTIME_DIR=$RUNTIME"
}

desk_openbox() {
    fresh openbox x11
    cat >"$OUT/session.sh" <<EOS
exec 5>"$OUT/display"
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp >"$OUT/xvfb.log" 2>&1 &
XVFB=\$!
exec 5>&-
for _ in \$(seq 100); do [ -s "$OUT/display" ] && break; sleep 0.1; done
export DISPLAY=":\$(head -n1 "$OUT/display")"
openbox --sm-disable &
OB=\$!
for _ in \$(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.1; done
env $(scenario_env openbox x11) "$HERE/scenario.sh"
kill \$OB; wait \$OB; kill \$XVFB; wait \$XVFB
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- bash "$OUT/session.sh"
}

desk_mutter() {
    fresh mutter "$1"
    cat >"$OUT/inside.sh" <<EOS
env $(scenario_env mutter "$1") "$HERE/scenario.sh"
kill \$PPID # mutter itself stays up when its command ends
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- \
        mutter --wayland --headless --virtual-monitor 1280x800 --wayland-display=pingolet-mutter \
        -- bash "$OUT/inside.sh"
}

desk_sway() {
    fresh sway "$1"
    cat >"$OUT/inside.sh" <<EOS
env $(scenario_env sway "$1") "$HERE/scenario.sh"
swaymsg exit
EOS
    cat >"$OUT/sway.conf" <<EOS
xwayland enable
output HEADLESS-1 resolution 1280x800
exec bash "$OUT/inside.sh"
EOS
    chown -R 65534:65534 "$OUT"
    run_bounded "$LIMIT" setpriv --reuid=65534 --regid=65534 --clear-groups \
        env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- \
        env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$OUT/sway.conf"
}

desk_gnome-shell() {
    fresh gnome-shell "$1"
    cat >"$OUT/session.sh" <<EOS
dbus-daemon --session --address=unix:path=$RUNTIME/sysbus --nofork &
SYS=\$!
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$RUNTIME/sysbus
gnome-shell --wayland --headless --virtual-monitor 1280x800 --wayland-display=pingolet-gnome >"$OUT/shell.log" 2>&1 &
SHELL_PID=\$!
for _ in \$(seq 300); do grep -q "GNOME Shell started" "$OUT/shell.log" && break; sleep 0.1; done
export DISPLAY=\$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$OUT/shell.log" | head -n1)
export WAYLAND_DISPLAY=pingolet-gnome
export XAUTHORITY=\$(ls $RUNTIME/.mutter-Xwaylandauth.* | head -n1)
echo "\${DISPLAY#:}" >"$OUT/display"
gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive "<false>" >/dev/null
# It takes the notification service's name a moment after it says it started.
for _ in \$(seq 100); do
    gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner org.freedesktop.Notifications 2>/dev/null | grep -q true && break
    sleep 0.1
done
env $(scenario_env gnome-shell "$1") "$HERE/scenario.sh"
kill \$SHELL_PID; wait \$SHELL_PID; kill \$SYS; wait \$SYS
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- bash "$OUT/session.sh"
    [ -s "$OUT/display" ] && LOCKS+=("/tmp/.X$(cat "$OUT/display")-lock")
}

desk_kwin() {
    fresh kwin "$1"
    cp /usr/bin/kwin_wayland "$OUT/kwin_wayland" # without the file capability a container refuses
    cat >"$OUT/inside.sh" <<EOS
env $(scenario_env kwin "$1") "$HERE/scenario.sh"
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- \
        "$OUT/kwin_wayland" --virtual --xwayland --width 1280 --height 800 --socket pingolet-kwin \
        --no-lockscreen --exit-with-session "bash $OUT/inside.sh"
}

# One row: the checks a desktop must pass whichever way it chose to show the window.
ROWS=()
FAILED=0
verdict() {
    local desk=$1 userwin=$2 f="$OUT/result" problems=()
    val() { sed -n "s/^$1=//p" "$f" | tail -n1; }
    [ -n "$(val error)" ] && problems+=("$(val error)")
    [ "$(val outcome)" = neither ] && problems+=("neither raised nor marked")
    [ "$(val notify_count)" = 1 ] || problems+=("$(val notify_count) Notify calls")
    [ "$(val urgency)" = 2 ] || problems+=("no urgency 2")
    [ "$(val closed)" = yes ] || problems+=("no CloseNotification after the edit")
    [[ "$(val title)" =~ ^(-\>---|--\>--|---\>-|----\>)\ Desk\ check$ ]] ||
        problems+=("the typing reached the message: title \"$(val title | cut -c1-60)\"")
    if [ "$userwin" = x11 ] && [ "${problems[*]}" = "" ]; then
        [ "$(val user_keys)" -gt 0 ] 2>/dev/null || problems+=("the user window got no keys")
    fi
    local status=PASS
    [ ${#problems[@]} -gt 0 ] && { status=FAIL; FAILED=$((FAILED + 1)); }
    ROWS+=("$(printf '%-12s %-8s %-20s %-7s %-8s %-6s %s' "$desk" "$userwin" "$(val outcome)" \
        "$(val notify_count)" "$(val server)" "$(val closed)" "$status${problems:+: ${problems[*]}}")")
}

for desk in "${DESKS[@]}"; do
    userwins=(x11)
    [ "$desk" != openbox ] && userwins+=(wayland)
    for userwin in "${userwins[@]}"; do
        start=$(date +%s)
        "desk_$desk" "$userwin"
        verdict "$desk" "$userwin"
        echo "${ROWS[-1]}  ($(($(date +%s) - start)) s)"
    done
done

echo
printf '%-12s %-8s %-20s %-7s %-8s %-6s %s\n' desktop user-win "Pingolet's window" Notify server closed result
printf '%s\n' "${ROWS[@]}"
[ "$FAILED" -eq 0 ]
