#include "alarm/LateRule.h"

#include "alarm/AlarmMode.h"
#include "app/NumberRule.h"
#include "app/NumberText.h"

#include <algorithm>
#include <cmath>

using namespace AlarmModes;

namespace {
double secondsBetween(qint64 fromMs, qint64 toMs) {
    return double(toMs - fromMs) / 1000.0;
}

// A ReRun cycle runs on by its schedule: On periods begin at the due time and every Off + On
// after it. The cycles that passed meanwhile are counted as the tick would have counted them.
void carryReRun(const AlarmRecord& r, qint64 nowMs, ResumePlan& plan) {
    const double counted = NumberRule::leadingNumber(r.cycles).value_or(0);
    if (r.mode == ModeReRunOff && nowMs < r.dueMs) { // still in the Off period
        plan.mode = ModeReRunOff;
        plan.secondsToAlarm = secondsBetween(nowMs, r.dueMs);
        plan.cycles = r.cycles;
        return;
    }
    // The count before the On period that began at the due time.
    const double before = r.mode == ModeReRunOn ? counted - 0.5 : counted;
    const double period = double(r.reRunOffSeconds) + r.reRunOnSeconds;
    const double since = std::max(0.0, secondsBetween(r.dueMs, nowMs)); // a clock set back
    const double whole = period > 0 ? std::floor(since / period) : 0;
    const double into = since - whole * period;
    if (into < r.reRunOnSeconds) {
        plan.mode = ModeReRunOn;
        plan.secondsToAlarm = -into;
        plan.cycles = NumberText::shortest(before + whole + 0.5);
    } else {
        plan.mode = ModeReRunOff;
        plan.secondsToAlarm = period - into;
        plan.cycles = NumberText::shortest(before + whole + 1);
    }
}
} // namespace

ResumePlan LateRule::plan(const AlarmRecord& r, qint64 nowMs) {
    ResumePlan plan;
    plan.mode = r.mode;
    plan.cycles = r.cycles;
    plan.secondsToAlarm = secondsBetween(nowMs, r.dueMs);
    const bool due = nowMs >= r.dueMs;

    switch (r.mode) {
    case ModeReRunOff:
    case ModeReRunOn:
        if (r.reRunOffSeconds > 0 && r.reRunOnSeconds > 0)
            carryReRun(r, nowMs, plan);
        break;
    case ModeArmed:
        if (due) { // beeping from the due time on, so DropDead counts from there
            plan.onsetMs = r.dueMs;
            plan.late = true;
        }
        break;
    case ModeLaunchPending:
    case ModeLaunchFailed:
    case ModeLaunchFailedInYourFace:
        if (!due)
            break;
        plan.late = true;
        if (nowMs - r.dueMs < LatestLaunchMs) {
            // Launched at the first update; a launch that had failed keeps its DropDead count.
            plan.mode = r.mode == ModeLaunchPending ? ModeLaunchPending : ModeLaunchFailed;
            plan.onsetMs = r.onsetMs.value_or(r.dueMs);
            if (plan.secondsToAlarm >= 0)
                plan.secondsToAlarm = -0.001; // the tick launches below zero
        } else {
            plan.mode = ModeLaunchFailed;
            plan.onsetMs = r.dueMs;
            plan.launchMissed = true;
        }
        break;
    default: // a ReRun message without both times: nothing runs, the countdown goes on
        break;
    }
    return plan;
}
