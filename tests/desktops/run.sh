#!/usr/bin/env bash
# The In-Your-Face stage on real desktops, each started headless here with its own session
# bus and XDG_RUNTIME_DIR, and torn down after: openbox on Xvfb, mutter with Xwayland and sway
# with Xwayland (as an unprivileged user: it refuses root); with --all also GNOME Shell and KWin,
# and each desktop's run repeated (DESK_RUNS times, 5 unless set). In each run the user works in
# a window of their own (X11, and a native Wayland one where the desktop is a Wayland compositor)
# and types through the input the desktop counts when the stage begins; then clicks Pingolet's
# notification; then edits its message (scenario.sh). Prints each run's checks, then a table of
# how the runs ended per desktop. Then, once, the panel icon in waybar's tray under sway
# (panel.sh), which the desktop name "waybar" alone runs; its screenshots stay with DESK_KEEP=1.
#   tests/desktops/run.sh [--all] [DESKTOP...]
# PINGOLET=/path/to/pingolet tests another build; DESK_KEEP=1 keeps the temporary folder.
set -uo pipefail
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
ROOT="$(cd "$HERE/../.." && pwd)"
. "$ROOT/scripts/packages.sh"

DESKS=(openbox mutter sway)
RUNS=${DESK_RUNS:-1}
if [ "${1:-}" = --all ]; then
    shift
    DESKS+=(gnome-shell kwin)
    RUNS=${DESK_RUNS:-5}
    # shellcheck disable=SC2086
    install_missing $DESKTOP_PACKAGES $DESKTOP_ALL_PACKAGES || exit 1
else
    # shellcheck disable=SC2086
    install_missing $DESKTOP_PACKAGES || exit 1
fi
PANEL=yes
if [ $# -gt 0 ]; then
    DESKS=()
    PANEL=no
    for d in "$@"; do if [ "$d" = waybar ]; then PANEL=yes; else DESKS+=("$d"); fi; done
fi
# shellcheck disable=SC2086
[ "$PANEL" = yes ] && { install_missing $PANEL_PACKAGES || exit 1; }
LIMIT=${DESK_LIMIT:-90} # seconds one run may take, the desktop's start included

PINGOLET=${PINGOLET:-$ROOT/build-tests/pingolet}
[ -x "$PINGOLET" ] || { echo "No program at $PINGOLET: build it first (./test.sh does)"; exit 1; }
# sway runs everything as another user, who may not enter the folder of this clone (a home
# folder is the owner's alone): what the sessions run or read is copied here first.
WORK=$(mktemp -d /tmp/pingolet-desktops.XXXXXX)
chmod 755 "$WORK"
mkdir "$WORK/bin"
cp "$PINGOLET" "$WORK/bin/pingolet"
cp "$HERE/scenario.sh" "$HERE/remote_input.py" "$HERE/panel.sh" "$HERE/../e2e/panel_host.py" "$WORK/bin/"
chmod -R a+rX "$WORK/bin"
cleanup() {
    rm -f "${LOCKS[@]}" 2>/dev/null
    [ -n "${DESK_KEEP:-}" ] && { echo "Kept $WORK"; return; }
    rm -rf "$WORK"
}
LOCKS=()
trap cleanup EXIT
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER XAUTHORITY
# sway refuses to run as root: run by root, its sessions run as nobody, otherwise as the caller.
AS_USER=()
[ "$(id -u)" -eq 0 ] && AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)

# A fresh folder for one run: sets OUT, RUNTIME and HOME_DIR.
fresh() {
    OUT="$WORK/$1-$2-$3"
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
    # and what it started in sessions of their own (sway's exec), found by the runtime folder
    local p
    for p in /proc/[0-9]*; do
        grep -qsz "^XDG_RUNTIME_DIR=$RUNTIME\$" "$p/environ" && kill -KILL "${p#/proc/}" 2>/dev/null
    done
    return 0
}

scenario() {
    echo "env DESK=$1 USERWIN=$2 OUT=$OUT BIN=$WORK/bin HOME=$HOME_DIR XDG_RUNTIME_DIR=$RUNTIME" \
        "bash $WORK/bin/scenario.sh"
}

desk_openbox() {
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
$(scenario openbox "$1")
kill \$OB; wait \$OB; kill \$XVFB; wait \$XVFB
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- bash "$OUT/session.sh"
}

desk_mutter() {
    cat >"$OUT/inside.sh" <<EOS
$(scenario mutter "$1")
kill \$PPID # mutter itself stays up when its command ends
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- \
        mutter --wayland --headless --virtual-monitor 1280x800 --wayland-display=pingolet-mutter \
        -- bash "$OUT/inside.sh"
}

# run_sway CONFIG...: sway with these lines of configuration, as nobody when run by root.
run_sway() {
    printf '%s\n' "xwayland enable" "output HEADLESS-1 resolution 1280x800" "$@" >"$OUT/sway.conf"
    [ ${#AS_USER[@]} -gt 0 ] && chown -R 65534:65534 "$OUT"
    run_bounded "$LIMIT" "${AS_USER[@]}" \
        env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- \
        env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$OUT/sway.conf"
}

# In tabs, only the window on top shows: "raised" means something on a tiling desktop too.
desk_sway() {
    cat >"$OUT/inside.sh" <<EOS
$(scenario sway "$1")
swaymsg exit
EOS
    run_sway "workspace_layout tabbed" "exec bash \"$OUT/inside.sh\""
}

# The panel icon: panel.sh writes its own checks, and ends the session itself.
desk_waybar() {
    : >"$OUT/checks"
    run_sway "exec bash \"$WORK/bin/panel.sh\" \"$OUT\""
    sed -n 's/^error=/FAIL the run ended in time: /p' "$OUT/result" >>"$OUT/checks"
    grep -qx "done" "$OUT/checks" || grep -q '^FAIL' "$OUT/checks" ||
        echo "FAIL the checks ran to their end: the session ended early (see desktop.log)" >>"$OUT/checks"
    grep -v '^done$' "$OUT/checks"
    ! grep -q '^FAIL' "$OUT/checks"
}

desk_gnome-shell() {
    cat >"$OUT/session.sh" <<EOS
dbus-daemon --session --address=unix:path=$RUNTIME/sysbus --nofork &
SYS=\$!
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$RUNTIME/sysbus
gnome-shell --wayland --headless --virtual-monitor 1280x800 --wayland-display=pingolet-gnome >"$OUT/shell.log" 2>&1 &
SHELL_PID=\$!
for _ in \$(seq 600); do grep -q "GNOME Shell started" "$OUT/shell.log" && break; sleep 0.1; done
export DISPLAY=\$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$OUT/shell.log" | head -n1)
export WAYLAND_DISPLAY=pingolet-gnome
export XAUTHORITY=\$(ls $RUNTIME/.mutter-Xwaylandauth.* | head -n1)
echo "\${DISPLAY#:}" >"$OUT/display"
gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive "<false>" >/dev/null
$(scenario gnome-shell "$1")
kill \$SHELL_PID; wait \$SHELL_PID; kill \$SYS; wait \$SYS
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- bash "$OUT/session.sh"
    [ -s "$OUT/display" ] && LOCKS+=("/tmp/.X$(cat "$OUT/display")-lock")
}

desk_kwin() {
    cp /usr/bin/kwin_wayland "$OUT/kwin_wayland" # without the file capability a container refuses
    cat >"$OUT/inside.sh" <<EOS
$(scenario kwin "$1")
EOS
    run_bounded "$LIMIT" env HOME="$HOME_DIR" XDG_RUNTIME_DIR="$RUNTIME" dbus-run-session -- \
        "$OUT/kwin_wayland" --virtual --xwayland --width 1280 --height 800 --socket pingolet-kwin \
        --no-lockscreen --exit-with-session "bash $OUT/inside.sh"
}

# One run's checks; each problem names the check that failed.
FAILED=0
ARROW='^(->---|-->--|--->-|---->) '
verdict() {
    local f="$OUT/result" problems=()
    val() { sed -n "s/^$1=//p" "$f" | tail -n1; }
    if [ -n "$(val error)" ]; then
        problems+=("$(val error)")
    else
        [ "$(val user_focus_before)" = yes ] || problems+=("the user's window did not hold the focus before the stage")
        [ "$(val raised_before)" = no ] || problems+=("Pingolet was on top before the stage")
        if [ "$2" = x11 ] || [ "$(val typing)" != xtest ]; then
            [ "$(val user_keys_before)" -gt 0 ] 2>/dev/null || problems+=("the user's window got no keys")
        fi
        for t in title title_after_typing; do
            [[ "$(val $t)" =~ ${ARROW}Desk\ check$ ]] && continue
            problems+=("the typing reached the message: title \"$(val $t | cut -c1-40)\"")
            break
        done
        case $(val outcome) in
        focused) [ "$(val raised)" = yes ] || problems+=("focused but not raised") ;;
        marked) [ "$(val state_asked)" -gt 0 ] 2>/dev/null || problems+=("no _NET_WM_STATE request from Pingolet") ;;
        focused-but-marked) problems+=("still marked while focused") ;;
        *) problems+=("neither focused nor marked by Pingolet") ;;
        esac
        [ "$(val action_invoked)" = yes ] || problems+=("the notification's default action was not invoked")
        case $(val after_click) in focused | marked | "") ;; *) problems+=("after the click: $(val after_click)") ;; esac
        [ "$(val notify_count)" = 1 ] || problems+=("$(val notify_count) Notify calls from Pingolet")
        [ "$(val urgency)" = 2 ] || problems+=("no urgency 2")
        [ "$(val closed)" = yes ] || problems+=("the notice stayed after the edit")
        [ "$(val unmarked_after_edit)" = yes ] || problems+=("still marked after the edit")
        [[ "$(val after_edit)" == *" Desk check" ]] && problems+=("the edit did not reach the message")
    fi
    local status=PASS
    [ ${#problems[@]} -gt 0 ] && { status=FAIL; FAILED=$((FAILED + 1)); }
    printf '%-12s %-8s %-3s %-19s %-6s %-6s %-19s %-6s %s  (%s s)\n' "$1" "$2" "$3" "$(val outcome)" \
        "$(val hint)" "$(val state)" "$(val after_click)" "$(val server)" \
        "$status${problems:+: $(IFS=';'; echo "${problems[*]}")}" "$4"
    echo "$1 $2 ${status} $(val outcome) $(val state) $(val state_asked) $(val after_click)" >>"$WORK/summary"
}

: >"$WORK/summary"
[ ${#DESKS[@]} -gt 0 ] && printf '%-12s %-8s %-3s %-19s %-6s %-6s %-19s %-6s %s\n' desktop user-win run \
    "after the raise" hint state "after a click" server result
for desk in "${DESKS[@]}"; do
    userwins=(x11)
    [ "$desk" != openbox ] && userwins+=(wayland)
    for userwin in "${userwins[@]}"; do
        for run in $(seq "$RUNS"); do
            start=$(date +%s)
            fresh "$desk" "$userwin" "$run"
            "desk_$desk" "$userwin"
            verdict "$desk" "$userwin" "$run" "$(($(date +%s) - start))"
        done
    done
done

# How the runs ended, per desktop and user window; a run that stopped early counts as failed.
[ ${#DESKS[@]} -gt 0 ] && echo && printf '%-12s %-8s %-5s %-16s %-28s %-22s %s\n' desktop user-win runs \
    "focused, typing" "marked where refused" "after a click" failed
awk '
{ k = $1 " " $2; if (!(k in runs)) order[++n] = k; runs[k]++
  if ($3 != "PASS") failed[k]++
  if ($4 == "") next
  if ($4 == "focused") focused[k]++
  else { refused[k]++; if ($4 == "marked") marked[k]++; if ($6 > 0) asked[k]++; if ($5 == "yes") shown[k]++ }
  clicked[k, $7 == "" ? "no action" : $7]++ }
END {
  for (i = 1; i <= n; i++) {
    k = order[i]; split(k, p, " ")
    m = refused[k] ? sprintf("%d/%d (state %d asked, %d shown)", marked[k], refused[k], asked[k], shown[k]) : "-"
    c = ""
    if (clicked[k, "focused"]) c = c "focused " clicked[k, "focused"] " "
    if (clicked[k, "marked"]) c = c "marked " clicked[k, "marked"] " "
    if (clicked[k, "neither"]) c = c "neither " clicked[k, "neither"] " "
    if (clicked[k, "no action"]) c = c "no action " clicked[k, "no action"]
    printf "%-12s %-8s %-5d %-16s %-28s %-22s %d\n", p[1], p[2], runs[k],
      sprintf("%d/%d", focused[k], runs[k]), m, c, failed[k]
  }
}' "$WORK/summary"

if [ "$PANEL" = yes ]; then
    [ ${#DESKS[@]} -gt 0 ] && echo
    echo "The panel icon in waybar's tray under sway (panel.sh):"
    start=$(date +%s)
    fresh waybar x11 1
    desk_waybar || FAILED=$((FAILED + 1))
    echo "($(($(date +%s) - start)) s${DESK_KEEP:+; screenshots in $OUT})"
fi
[ "$FAILED" -eq 0 ]
