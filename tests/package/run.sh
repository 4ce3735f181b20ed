#!/usr/bin/env bash
# The Debian package as a user gets it: built with scripts/build-deb.sh, checked with lintian and
# the desktop's validators, unpacked with dpkg-deb -x into a temporary root, and run from there as
# an unprivileged user with a home of its own, on the private display of the end-to-end suite.
#   tests/package/run.sh          build the package, then check and run it
#   DEB=path/to.deb tests/package/run.sh   check and run that package instead
# Run as root, it runs the program as nobody; run as anyone else, as that user (it installs its
# tools through sudo then). Ends with "N passed, N failed".
set -uo pipefail
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"
. "$ROOT/scripts/packages.sh"

APP_ID=org.example.pingolet.Pingolet
if [ "$(id -u)" -eq 0 ]; then
    USER_ID=nobody GROUP_ID=nogroup
else
    USER_ID=$(id -un) GROUP_ID=$(id -gn)
fi

# ---------------------------------------------------------------------------------------------
# Static checks of the package and its files.

p_lintian() {
    lintian --fail-on error,warning "$DEB" >"$CASE_DIR/lintian.txt" 2>&1
    local rc=$?
    sed 's/^/      lintian: /' "$CASE_DIR/lintian.txt" >>"$CASE_DIR/notes"
    [ "$rc" -eq 0 ] || fail "lintian reports errors or warnings (exit status $rc)"
}

p_validators() {
    local share="$PKGROOT/usr/share"
    desktop-file-validate "$share/applications/$APP_ID.desktop" >"$CASE_DIR/desktop.txt" 2>&1 ||
        fail "desktop-file-validate: $(tr '\n' ' ' <"$CASE_DIR/desktop.txt")"
    [ -s "$CASE_DIR/desktop.txt" ] && fail "desktop-file-validate: $(tr '\n' ' ' <"$CASE_DIR/desktop.txt")"
    # Pedantic hints (an id with capitals) are not warnings.
    appstreamcli validate --no-net "$share/metainfo/$APP_ID.metainfo.xml" >"$CASE_DIR/as.txt" 2>&1 ||
        fail "appstreamcli validate: $(tr '\n' ' ' <"$CASE_DIR/as.txt")"
    grep -E '^(E|W|I):' "$CASE_DIR/as.txt" && fail "appstreamcli reports: $(grep -E '^(E|W|I):' "$CASE_DIR/as.txt" | tr '\n' ' ')"
    local size svg="$share/icons/hicolor/scalable/apps/$APP_ID.svg" rmse
    for size in 16 32 48 64 128 256; do
        file "$share/icons/hicolor/${size}x$size/apps/$APP_ID.png" | grep -q "$size x $size" ||
            fail "no $size x $size icon named $APP_ID"
    done
    # The scalable icon draws the same clock as the bitmaps.
    if ! rsvg-convert -w 256 -h 256 -b white "$svg" -o "$CASE_DIR/svg.png" 2>"$CASE_DIR/svg.txt"; then
        fail "no scalable icon named $APP_ID, or it does not render: $(tr '\n' ' ' <"$CASE_DIR/svg.txt")"
    else
        convert "$share/icons/hicolor/256x256/apps/$APP_ID.png" -background white -flatten "$CASE_DIR/png.png"
        rmse=$(compare -metric RMSE "$CASE_DIR/svg.png" "$CASE_DIR/png.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
        note "the scalable icon differs from the 256 px one by $rmse (RMSE)"
        awk -v e="$rmse" 'BEGIN { exit !(e < 0.05) }' || fail "the scalable icon does not look like the 256 px one (RMSE $rmse)"
    fi
    [ -s "$share/man/man1/pingolet.1.gz" ] || fail "no manual page"
    zcat "$share/man/man1/pingolet.1.gz" | grep -q 'config/pingolet/Pingolet.ini' ||
        fail "the manual page does not name ~/.config/pingolet/Pingolet.ini"
    grep -qx "Icon=$APP_ID" "$share/applications/$APP_ID.desktop" || fail "the entry's icon is not $APP_ID"
    grep -qx "Exec=pingolet" "$share/applications/$APP_ID.desktop" || fail "the entry does not run pingolet from the PATH"
    [ ! -s "$CASE_DIR/reason" ]
}

# The package build installs what the project's own build needs, and its dependencies come from
# the libraries the program links.
p_dependencies() {
    local control="$ROOT/debian/control" p depends
    for p in $BUILD_PACKAGES; do
        [ "$p" = g++ ] || [ "$p" = fonts-dejavu-core ] && continue
        grep -Eq "^( |Build-Depends:).*\\b$p\\b" "$control" || fail "Build-Depends lacks $p, which the build needs"
    done
    depends=$(dpkg-deb -f "$DEB" Depends)
    note "Depends: $depends"
    for p in libqt6widgets6 libqt6gui6 libqt6core6 libpulse0 libc6; do
        [[ $depends == *"$p "* || $depends == *"$p," || $depends == *"$p" ]] || fail "Depends lacks $p: $depends"
    done
    [ ! -s "$CASE_DIR/reason" ]
}

# ---------------------------------------------------------------------------------------------
# The unpacked program, run by an ordinary user.

# as_user command...: becomes the command, run as the user, in the user's home, with the user's
# only environment (a session bus is the one at $XDG_RUNTIME_DIR/bus, if any). It takes the
# shell's place: call it in the background or in $(...).
as_user() {
    local as=()
    [ "$(id -u)" -eq 0 ] && as=(setpriv --reuid="$USER_ID" --regid="$GROUP_ID" --clear-groups)
    cd "$UHOME" && exec "${as[@]}" env -i HOME="$UHOME" DISPLAY="$DISPLAY" XAUTHORITY="$XAUTHORITY" XDG_RUNTIME_DIR="$URUN" \
        PULSE_SERVER="$PULSE_SERVER" \
        LC_ALL=C.UTF-8 PATH=/usr/bin:/bin "$@"
}

# start_user args...: the unpacked program as the user; sets PID.
start_user() {
    as_user "$PINGOLET" "$@" >>"$CASE_DIR/pingolet.log" 2>&1 &
    PID=$!
    record_pid "$PID" "$CASE_DIR/pids"
}

# A fresh home, as a user who never ran the program has.
fresh_home() {
    rm -rf "$UHOME"
    mkdir -p "$UHOME"
    chown "$USER_ID:$GROUP_ID" "$UHOME"
}

p_first_start() {
    fresh_home
    start_user
    wait_window 10 || return 1
    wait_title 8 "^${ARROW}Default Message\$" || return 1
    assert_running
    [ ! -e "$UHOME/.config/pingolet" ] || fail "the first start made $UHOME/.config/pingolet"
}

p_help_file() {
    fresh_home
    local ini="$UHOME/.config/pingolet/Pingolet.ini"
    start_user "/?"
    wait_for 10 "\"pingolet /?\" to write $ini" test -s "$ini" || return 1
    wait_window 10 || return 1
    wait_title_ends 6 "The help you requested is available in the text file: «$ini»." || return 1
    if [ "$(grep -c $'\r$' "$ini")" -ne 95 ] || [ "$(wc -l <"$ini")" -ne 95 ]; then
        fail "$ini has $(wc -l <"$ini") lines, $(grep -c $'\r$' "$ini") of them CR LF ended, not 95"
    fi
    [ "$(stat -c %U "$ini" "$(dirname "$ini")" | sort -u)" = "$USER_ID" ] ||
        fail "the folder and file do not belong to the user: $(stat -c '%U %n' "$ini" "$(dirname "$ini")" | tr '\n' ' ')"
    iconv -f WINDOWS-1252 -t UTF-8 "$ini" | grep -q ' ~/\.config/pingolet/ ' ||
        fail "the help text does not say the file lives in ~/.config/pingolet/"
}

p_save() {
    fresh_home
    local ini="$UHOME/.config/pingolet/Pingolet.ini"
    start_user
    wait_window 10 || return 1
    wait_title 8 "Default Message\$" || return 1
    type_message "Tea is ready"
    wait_title 5 "Tea is ready\$" || return 1
    click_save
    wait_for 5 "the line \"Message=Tea is ready\" in $ini" has_line "$ini" "Message=Tea is ready" || return 1
    stop_pid "$PID"
    start_user
    wait_window 10 || return 1
    wait_title 8 "Tea is ready\$"
}

# An ordinary user may not arm a timer that wakes the machine (no CAP_WAKE_ALARM before systemd
# 254, which gives it to a user on a local seat): --list says which, and the alarm rings as ever.
p_no_wake_timer() {
    fresh_home
    as_user dbus-daemon --session --nofork --address="unix:path=$URUN/bus" >>"$CASE_DIR/bus.log" 2>&1 &
    record_pid $! "$CASE_DIR/pids"
    wait_for 5 "the user's session bus" test -S "$URUN/bus" || return 1
    start_user /t2=5 /ss=5s /dd=1h "/m=Ring"
    wait_window 10 || return 1
    WAKE=unavailable
    (((0x$(awk '/^CapEff/ { print $2 }' "/proc/$PID/status") >> 35) & 1)) && WAKE=armed
    wait_for 4 "--list --json to say that the wake timer is $WAKE" _wake_is || return 1
    wait_title 10 "^${ARROW}Ring\$" || return 1
    rm -f "$URUN/bus"
}
_wake_is() {
    LAST=$(as_user "$PINGOLET" --list --json 2>&1)
    grep -q "\"wake\":\"$WAKE\"" <<<"$LAST"
}

p_tree_unchanged() {
    tree_state >"$CASE_DIR/after"
    diff "$TMPROOT/tree-before" "$CASE_DIR/after" >"$CASE_DIR/diff" ||
        fail "the unpacked tree changed: $(head -5 "$CASE_DIR/diff" | tr '\n' ' ')"
}

# Every path of the unpacked tree with its type, mode, owner, size, time and contents.
tree_state() {
    (cd "$PKGROOT" && find . -printf '%p %y %m %u %s %T@\n' | sort &&
        find . -type f -exec sha256sum {} + | sort -k2)
}

CASES=(
    "lintian:p_lintian"
    "desktop entry, metainfo, icons and manual page:p_validators"
    "build and run dependencies:p_dependencies"
    "first start shows Default Message and writes nothing:p_first_start"
    "/? writes the help file into ~/.config/pingolet/:p_help_file"
    "Save New Settings saves into ~/.config/pingolet/:p_save"
    "an ordinary user's alarm, without a wake timer:p_no_wake_timer"
    "the unpacked tree is unchanged:p_tree_unchanged"
)

main() {
    local started entry
    started=$(now_ms)
    # shellcheck disable=SC2086
    install_missing $DEB_PACKAGES file || exit 1
    if [ -z "${DEB:-}" ]; then
        DEB=$("$ROOT/scripts/build-deb.sh" | grep '/pingolet_[^/]*\.deb$' | tail -n 1) ||
            { say "scripts/build-deb.sh failed"; say "0 passed, 1 failed"; exit 1; }
    fi
    say "package: $DEB ($(stat -c %s "$DEB") bytes)"
    # The set-up of the end-to-end suite wants a program before the package is unpacked.
    PINGOLET=/bin/true
    e2e_setup || { say "Set-up failed"; say "0 passed, 1 failed"; exit 1; }
    PKGROOT="$TMPROOT/root"
    mkdir "$PKGROOT"
    dpkg-deb -x "$DEB" "$PKGROOT"
    PINGOLET="$PKGROOT/usr/bin/pingolet"
    # The user reaches the display's cookie and the program, and nothing else of ours.
    UHOME="$TMPROOT/user-home"
    URUN="$TMPROOT/user-run"
    mkdir -p "$URUN" && chown "$USER_ID:$GROUP_ID" "$URUN" && chmod 700 "$URUN"
    chmod 711 "$TMPROOT" && chmod 644 "$XAUTHORITY"
    tree_state >"$TMPROOT/tree-before"
    for entry in "${CASES[@]}"; do
        run_case "${entry%:*}" "${entry##*:}"
    done
    say "Total $(awk -v d=$(($(now_ms) - started)) 'BEGIN { printf "%.1f", d / 1000 }') s"
    summary
}

main "$@"
