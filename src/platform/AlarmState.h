#pragma once

#include <QString>

#include <optional>

// Where an alarm stands, as its record, its object on the session bus and the list of alarms
// show it.
enum class AlarmState {
    Counting,
    Beeping,
    InYourFace,
    ReRunOff,
    ReRunOn,
    LaunchPending,
    LaunchFailed,
    Idle,
    Away, // recorded, with no program running it; never a running program's own state
};

// Whether an alarm in this state makes itself heard: beeping, in your face, a ReRun On period, a
// launch that failed.
bool alarmSounds(AlarmState state);

// Whether an alarm in this state waits for an instant still to come: a countdown, a "Start:"
// program pending, a ReRun Off period.
bool alarmAwaits(AlarmState state);

// The state's name wherever it is written: counting, beeping, in-your-face, rerun-off,
// rerun-on, launch-pending, launch-failed, idle, away.
QString alarmStateName(AlarmState state);
// The state of that name; none for a name that is not one.
std::optional<AlarmState> alarmStateNamed(const QString& name);
