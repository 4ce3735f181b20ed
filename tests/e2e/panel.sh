# Sourced by run.sh: one status icon in the panel for every running alarm, shown by a stand-in
# panel (panel_host.py) on a private session bus.

panel() { "$E2E_DIR/panel_host.py" "$@" 2>>"$CASE_DIR/panel.err"; }
_one_item() {
    LAST=$(panel items | xargs)
    [ "$(wc -w <<<"$LAST")" -eq 1 ]
}
_no_item() {
    LAST=$(panel items | xargs)
    [ -z "$LAST" ]
}
# C1. Two alarms, the panel starting after them: one item, whose tooltip names both, whose icon
#     marks the one that beeps, and whose menu answers it; killed, its owner hands the icon on to
#     the other program within two seconds; with every alarm ended, no item is left.
c1_panel_icon() {
    alarm_folders
    private_bus || return 1
    new_folder
    start_in "$DIR" /t2=5 /ss=1h "/m=Hour"
    local hour=$PID
    start_in "$DIR" /t2=5 /ss=2s /dd=1h "/m=Ring"
    local ring=$PID
    wait_for 10 "both alarms on the bus" _both_on_bus || return 1
    panel serve "$CASE_DIR/panel.log" &
    record_pid $! "$CASE_DIR/pids"
    wait_for 5 "the stand-in panel" grep -qs ready "$CASE_DIR/panel.log" || return 1
    wait_for 5 "one item in the panel" _one_item || return 1
    wait_for 5 "the alarm Ring to beep" _in_state "$(alarm_id Ring)" beeping || return 1
    sleep 1.5 # both programs had their chance to show an item of their own
    _one_item || fail "not one item: $LAST"
    wait_for 3 "a tooltip that names both alarms" _tooltip_names_both || return 1
    wait_for 3 "a red mark on the icon while Ring beeps" _icon_red 0.3 || return 1
    local menu
    menu=$(panel menu)
    for entry in "Hour (*left)/Snooze 5 min" "Ring (ringing)/Acknowledge" "New alarm…"; do
        grep -q -x -- "${entry//\*/.*}" <<<"$menu" || fail "no \"$entry\" in the menu: $(tr '\n' '|' <<<"$menu")"
    done
    rec_start || return 1
    local m0 m1
    m0=$(rec_mark)
    wait_loud 2 "$m0" || return 1
    panel click "Ring (ringing)/Acknowledge" || fail "the menu's Acknowledge could not be clicked"
    wait_for 3 "Ring to be acknowledged" _in_state "$(alarm_id Ring)" idle || return 1
    sleep 0.4 # the recording runs behind
    m1=$(rec_mark)
    sleep 1.5
    assert_quiet "$m1" "" "after Acknowledge in the panel's menu" || return 1
    wait_for 3 "the icon to lose its red mark" _icon_red_below 0.1 || return 1

    local owner other killed shown
    owner=$(panel pids)
    [ "$owner" = "$hour" ] && other=$ring || other=$hour
    [ "$owner" = "$hour" ] || [ "$owner" = "$ring" ] || { fail "the icon's owner is pid \"$owner\""; return 1; }
    kill -KILL "$owner"
    killed=$(now_ms)
    wait_for 4 "the other program to show the icon" _item_of "$other" || return 1
    shown=$(($(now_ms) - killed))
    note "after the owner's SIGKILL the other program showed the icon in $shown ms"
    [ "$shown" -le 2000 ] || fail "the icon came back after $shown ms, not within 2 s"
    _one_item || fail "not one item after the hand-over: $LAST"
    "$DIR/pingolet" --cancel "$(alarm_id "$([ "$other" = "$hour" ] && echo Hour || echo Ring)")" ||
        fail "--cancel exited with status $?"
    wait_for 5 "no item once every alarm has ended" _no_item
}
_both_on_bus() {
    LAST=$("$DIR/pingolet" --list --json 2>&1)
    [ "$(grep -o '"pid":[0-9]' <<<"$LAST" | wc -l)" -eq 2 ]
}
_tooltip_names_both() {
    LAST=$(panel tooltip | tr '\n' '|')
    grep -q "Hour: 1 h left, due\|Hour: 59 min left, due" <<<"$LAST" && grep -q "Ring: ringing for" <<<"$LAST"
}
_icon_red() {
    LAST="red share $(panel red)"
    above "${LAST#red share }" "$1"
}
_icon_red_below() { ! _icon_red "$1"; }
_item_of() {
    LAST="items of pids $(panel pids | xargs)"
    [ "$LAST" = "items of pids $1" ]
}

PANEL=(
    "C1 one panel icon for every alarm:c1_panel_icon"
)
