#include "alarm/AlarmKeeper.h"

#include "alarm/AlarmTexts.h"
#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/Program.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

using namespace AlarmModes;

namespace {
QString newAlarmId() {
    return QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
}

// Held within the record's range: the program's floats reach 3.4e38 s (a ReRun Off time of
// thirty digits), which no instant holds, and casting them would be undefined.
qint64 toMs(double seconds) {
    constexpr double limit = 9e18; // under 2^63 with room for the epoch added to it
    const double ms = Store::roundHalfEven(seconds * 1000);
    return std::isnan(ms) ? 0 : qint64(std::clamp(ms, -limit, limit));
}
} // namespace

AlarmKeeper::AlarmKeeper(Program& program, Platform& platform)
    : program_(program), platform_(platform), id_(newAlarmId()) {
    platform_.wake.onExpiry([this] { wakeExpired(); });
}

AlarmState AlarmKeeper::state() const {
    const Module1& m = program_.m;
    switch (m.AlarmMode) {
    case ModeArmed: {
        if (m.SecondsToAlarm > 0)
            return AlarmState::Counting;
        const auto elapsed = Store::toSingle(double(m.LastTickTime) - m.AlarmOnsetTime);
        const bool inYourFace = m.DropDeadSeconds != 0 && elapsed && *elapsed >= m.DropDeadSeconds;
        return inYourFace ? AlarmState::InYourFace : AlarmState::Beeping;
    }
    case ModeReRunOff:
        return AlarmState::ReRunOff;
    case ModeReRunOn:
        return AlarmState::ReRunOn;
    case ModeLaunchPending:
        return AlarmState::LaunchPending;
    case ModeLaunchFailed:
    case ModeLaunchFailedInYourFace:
        return AlarmState::LaunchFailed;
    default: // nothing pending, or a ReRun message without both times: nothing runs
        return AlarmState::Idle;
    }
}

// The instants come from the wall clock read at the last update, beside LastTickTime, since
// the countdown is charged only at updates.
AlarmRecord AlarmKeeper::record() const {
    const Module1& m = program_.m;
    const Form1& form = program_.form;
    const qint64 lastTickMs = program_.lastTickEpochMs_;
    AlarmRecord r;
    r.id = id_;
    r.state = state();
    r.mode = m.AlarmMode;
    r.message = form.Text4.text();
    r.dueMs = lastTickMs + toMs(m.SecondsToAlarm);
    const bool begun = (m.AlarmMode == ModeArmed && m.SecondsToAlarm <= 0) ||
                       m.AlarmMode == ModeLaunchFailed || m.AlarmMode == ModeLaunchFailedInYourFace;
    if (begun)
        r.onsetMs = lastTickMs - toMs(double(m.LastTickTime) - m.AlarmOnsetTime);
    r.dropDeadSeconds = m.DropDeadSeconds;
    r.dropDeadText = form.Text10.text();
    r.startSetText = form.Text8.text();
    // The slider is inverted: its Min end holds the largest interval.
    r.rateMin = std::int16_t(form.VScroll1.max());
    r.rateSet = std::int16_t(form.VScroll1.value());
    r.rateMax = std::int16_t(form.VScroll1.min());
    r.reRunOffSeconds = m.ReRunOffSeconds;
    r.reRunOnSeconds = m.ReRunOnSeconds;
    r.cycles = form.Text9.text();
    r.settingsFile = m.IniPath;
    r.controlAreaOpen = m.ControlAreaOpen != 0;
    r.windowLeft = form.left();
    r.windowTop = form.top();
    r.windowWidth = form.width();
    r.windowHeight = form.height();
    r.windowState = form.windowState();
    return r;
}

void AlarmKeeper::windowShown() {
    shown_ = true;
    keepingRecord_ = true;
    eventHandled();
}

void AlarmKeeper::eventHandled() {
    if (!shown_ || program_.ended())
        return;
    AlarmRecord r = record();
    keepAwake(r);
    AlarmStatus status{r.id,
                       r.message,
                       AlarmTexts::title(r.message),
                       r.state,
                       r.dueMs,
                       NumberRule::leadingNumber(r.cycles).value_or(0),
                       r.rateSet,
                       platform_.wake.state()};
    if (r.state == AlarmState::Idle)
        status.dueMs.reset();
    platform_.bus.publish(status);
    if (keepingRecord_)
        keepRecord(std::move(r));
}

// Written when what it holds changed, which an update finds rarely: a countdown that runs for
// hours is written once.
void AlarmKeeper::keepRecord(AlarmRecord r) {
    if (program_.m.AlarmMode == ModeIdle) {
        forgetRecord();
        return;
    }
    if (recorded_ && recorded_->sameAs(r))
        return;
    // A failed write is not tried again at every update; the next change tries again.
    platform_.alarms.save(id_, AlarmRecordText::write(r));
    recorded_ = std::move(r);
}

void AlarmKeeper::forgetRecord() {
    if (!recorded_)
        return;
    recorded_.reset();
    platform_.alarms.remove(id_);
}

void AlarmKeeper::drop() {
    keepingRecord_ = false;
    recorded_.reset();
    platform_.alarms.remove(id_);
    letSleep();
}

void AlarmKeeper::windowClosed(bool sessionEnding) {
    if (sessionEnding)
        keepingRecord_ = false;
    else
        drop();
}

// Each only when it changes: the update that calls this comes every few seconds, for hours.
void AlarmKeeper::keepAwake(const AlarmRecord& r) {
    const qint64 now = platform_.clock.millisecondsSinceEpoch();
    // A little after the instant, so that the update it brings finds it passed; one already
    // passed is the next update's.
    constexpr qint64 MarginMs = 250;
    if (!alarmAwaits(r.state) || r.dueMs + MarginMs <= now) {
        disarmWake();
    } else if (!wakeFor_ || !sameInstant(*wakeFor_, r.dueMs)) {
        platform_.wake.arm(r.dueMs + MarginMs);
        wakeFor_ = r.dueMs;
    }
    const bool near = alarmAwaits(r.state) && r.dueMs - now <= NearMs;
    if (!alarmSounds(r.state) && !near) {
        releaseIdle();
    } else if (!inhibiting_) {
        platform_.idle.inhibit(idleReason(r, near));
        inhibiting_ = true;
    }
}

// "Tea: due at 14:05", or "Tea: ringing": what the desktop may show of why it stays awake.
QString AlarmKeeper::idleReason(const AlarmRecord& r, bool near) {
    return AlarmTexts::shown(AlarmTexts::title(r.message)) +
           (near ? QStringLiteral(": due at ") +
                       QDateTime::fromMSecsSinceEpoch(r.dueMs).toString(QStringLiteral("HH:mm"))
                 : QStringLiteral(": ringing"));
}

void AlarmKeeper::disarmWake() {
    if (wakeFor_)
        platform_.wake.disarm();
    wakeFor_.reset();
}

void AlarmKeeper::releaseIdle() {
    if (inhibiting_)
        platform_.idle.release();
    inhibiting_ = false;
}

void AlarmKeeper::letSleep() {
    disarmWake();
    releaseIdle();
}

// The update the tick brings at the end of its cycle, now: it beeps, launches or turns the
// ReRun period, as the tick would. The timer is spent: an instant still ahead (the clock was
// set, or the countdown's float lags) is armed again by that update.
void AlarmKeeper::wakeExpired() {
    if (program_.ended())
        return;
    wakeFor_.reset();
    program_.m.TickCounter = 0;
    program_.form.Timer1.TimerEvent.raise();
}

void AlarmKeeper::messageEdited() {
    launchMissed_ = false;
    lateDueMs_.reset();
}

// Local time; the day too when it was not today.
QString AlarmKeeper::lateLine() const {
    if (!lateDueMs_)
        return {};
    return QStringLiteral("It was due at %1, while Pingolet was not running")
               .arg(AlarmTexts::localTime(*lateDueMs_, platform_.clock.millisecondsSinceEpoch(),
                                          QStringLiteral("HH:mm"),
                                          QStringLiteral("ddd d MMM HH:mm"))) +
           (launchMissed_ ? QStringLiteral(": too late to start it now.") : QStringLiteral("."));
}
