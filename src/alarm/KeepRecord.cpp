#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/Program.h"

#include <algorithm>
#include <cmath>

using namespace AlarmModes;

namespace {
// Held within the record's range: the program's floats reach 3.4e38 s (a ReRun Off time of
// thirty digits), which no instant holds, and casting them would be undefined.
qint64 toMs(double seconds) {
    constexpr double limit = 9e18; // under 2^63 with room for the epoch added to it
    const double ms = Store::roundHalfEven(seconds * 1000);
    return std::isnan(ms) ? 0 : qint64(std::clamp(ms, -limit, limit));
}
} // namespace

QString Program::alarmState() const {
    switch (m.AlarmMode) {
    case ModeArmed: {
        if (m.SecondsToAlarm > 0)
            return QStringLiteral("counting");
        const auto elapsed = Store::toSingle(double(m.LastTickTime) - m.AlarmOnsetTime);
        const bool inYourFace = m.DropDeadSeconds != 0 && elapsed && *elapsed >= m.DropDeadSeconds;
        return inYourFace ? QStringLiteral("in-your-face") : QStringLiteral("beeping");
    }
    case ModeReRunOff:
        return QStringLiteral("rerun-off");
    case ModeReRunOn:
        return QStringLiteral("rerun-on");
    case ModeLaunchPending:
        return QStringLiteral("launch-pending");
    case ModeLaunchFailed:
    case ModeLaunchFailedInYourFace:
        return QStringLiteral("launch-failed");
    default: // nothing pending, or a ReRun message without both times: nothing runs
        return QStringLiteral("idle");
    }
}

// The instants come from the wall clock read at the last update, beside LastTickTime, since
// the countdown is charged only at updates.
AlarmRecord Program::makeRecord() const {
    AlarmRecord r;
    r.id = alarmId_;
    r.state = alarmState();
    r.mode = m.AlarmMode;
    r.message = form.Text4.text();
    r.dueMs = lastTickEpochMs_ + toMs(m.SecondsToAlarm);
    const bool begun = (m.AlarmMode == ModeArmed && m.SecondsToAlarm <= 0) ||
                       m.AlarmMode == ModeLaunchFailed || m.AlarmMode == ModeLaunchFailedInYourFace;
    if (begun)
        r.onsetMs = lastTickEpochMs_ - toMs(double(m.LastTickTime) - m.AlarmOnsetTime);
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

void Program::windowShown() {
    shown_ = true;
    keepingRecord_ = true;
    afterEvent();
}

void Program::afterEvent() {
    if (!shown_ || ended_)
        return;
    AlarmRecord record = makeRecord();
    AlarmStatus status{record.id,
                       record.message,
                       record.message.left(record.message.indexOf(QLatin1String("\r\n"))),
                       record.state,
                       record.dueMs,
                       NumberRule::leadingNumber(record.cycles).value_or(0),
                       record.rateSet};
    if (record.state == QLatin1String("idle"))
        status.dueMs.reset();
    platform_.bus.publish(status);
    if (keepingRecord_)
        keepRecord(std::move(record));
}

// Written when what it holds changed, which an update finds rarely: a countdown that runs for
// hours is written once.
void Program::keepRecord(AlarmRecord record) {
    if (m.AlarmMode == ModeIdle) {
        forgetRecord();
        return;
    }
    if (recorded_ && recorded_->sameAs(record))
        return;
    // A failed write is not tried again at every update; the next change tries again.
    platform_.alarms.save(alarmId_, AlarmRecordText::write(record));
    recorded_ = std::move(record);
}

void Program::forgetRecord() {
    if (!recorded_)
        return;
    recorded_.reset();
    platform_.alarms.remove(alarmId_);
}

// The alarm is over for good: its record goes, and nothing writes it again.
void Program::dropRecord() {
    keepingRecord_ = false;
    recorded_.reset();
    platform_.alarms.remove(alarmId_);
}

// A window closed by the user ends its alarm; one closed because the session ends keeps it.
void Program::Form_Unload() {
    if (platform_.window.sessionEnding())
        keepingRecord_ = false;
    else
        dropRecord();
}
