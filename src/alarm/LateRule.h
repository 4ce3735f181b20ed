#pragma once

#include "alarm/AlarmRecord.h"

#include <QString>

#include <cstdint>
#include <optional>

// What a recorded alarm does when it comes back at `nowMs`: never early, never twice, and a rule
// for one that fell due while no program held it.
struct ResumePlan {
    std::int16_t mode = 0;
    double secondsToAlarm = 0;
    std::optional<qint64> onsetMs; // none: the countdown runs, the onset follows the clock
    QString cycles;
    bool launchMissed = false; // a "Start:" program too late to start: never launched
    bool late = false;         // fell due while the alarm was away
};

namespace LateRule {
// A "Start:" program still starts this late; later it could do harm.
inline constexpr qint64 LatestLaunchMs = 5 * 60 * 1000;

ResumePlan plan(const AlarmRecord& record, qint64 nowMs);
} // namespace LateRule
