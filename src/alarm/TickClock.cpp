#include "app/IntegerStore.h"
#include "app/Program.h"

#include <cmath>

namespace {
constexpr double SecondsPerDay = 86400;
// A clock that went back to a value this early in the day has passed midnight.
constexpr float LatestMidnightWrap = 7192;
// How far the two clocks may disagree on a whole number of days: they are not read at the
// same instant, and the wall clock is a single float.
constexpr double DayTolerance = 2;
} // namespace

// The wall clock's time of the last update, with the boot clock and the instant read beside it.
void Program::setLastTickTime(float now) {
    m.LastTickTime = now;
    lastTickBootTime_ = platform_.clock.secondsSinceBoot();
    lastTickEpochMs_ = platform_.clock.millisecondsSinceEpoch();
}

// Takes the midnights passed since the last update off the countdown and the onset. A machine
// suspended across midnight is told by the boot clock, which counts suspended time and which
// nobody sets, running ahead of the wall clock's step by whole days. Otherwise a clock that went
// back to early in the day passed one midnight; a clock set by hand is not corrected.
void Program::correctForMidnight(float now) {
    const double excess =
        (platform_.clock.secondsSinceBoot() - lastTickBootTime_) - (double(now) - m.LastTickTime);
    double days = Store::roundHalfEven(excess / SecondsPerDay);
    if (!(days >= 1) || std::abs(excess - days * SecondsPerDay) > DayTolerance)
        days = (now < m.LastTickTime && now <= LatestMidnightWrap) ? 1 : 0;
    if (days == 0)
        return;
    Store::single(m.SecondsToAlarm, m.SecondsToAlarm - days * SecondsPerDay);
    Store::single(m.AlarmOnsetTime, m.AlarmOnsetTime - days * SecondsPerDay);
}
