#include "AlarmState.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<AlarmState, const char*>, 9> names{{
    {AlarmState::Counting, "counting"},
    {AlarmState::Beeping, "beeping"},
    {AlarmState::InYourFace, "in-your-face"},
    {AlarmState::ReRunOff, "rerun-off"},
    {AlarmState::ReRunOn, "rerun-on"},
    {AlarmState::LaunchPending, "launch-pending"},
    {AlarmState::LaunchFailed, "launch-failed"},
    {AlarmState::Idle, "idle"},
    {AlarmState::Away, "away"},
}};
} // namespace

bool alarmSounds(AlarmState state) {
    return state == AlarmState::Beeping || state == AlarmState::InYourFace ||
           state == AlarmState::ReRunOn || state == AlarmState::LaunchFailed;
}

bool alarmAwaits(AlarmState state) {
    return state == AlarmState::Counting || state == AlarmState::LaunchPending ||
           state == AlarmState::ReRunOff;
}

QString alarmStateName(AlarmState state) {
    for (const auto& [s, name] : names)
        if (s == state)
            return QLatin1String(name);
    return {};
}

std::optional<AlarmState> alarmStateNamed(const QString& name) {
    for (const auto& [s, text] : names)
        if (name == QLatin1String(text))
            return s;
    return std::nullopt;
}
