#include "indicator/PanelTexts.h"

#include "alarm/AlarmTexts.h"

#include <cstdlib>

namespace {
constexpr qint64 Second = 1000, Minute = 60 * Second, Hour = 60 * Minute, Day = 24 * Hour;

QString titleOf(const Verbs::ListedAlarm& alarm) {
    return AlarmTexts::shown(alarm.title);
}

// Local time; the day too when it is not today.
QString clock(qint64 ms, qint64 nowMs) {
    return AlarmTexts::localTime(ms, nowMs, QStringLiteral("HH:mm"), QStringLiteral("ddd HH:mm"));
}

} // namespace

std::optional<std::size_t> PanelTexts::mostPressing(const std::vector<Verbs::ListedAlarm>& alarms,
                                                    qint64 nowMs) {
    std::optional<std::size_t> nearest;
    for (std::size_t i = 0; i < alarms.size(); ++i) {
        const Verbs::ListedAlarm& a = alarms[i];
        if (alarmSounds(a.state))
            return i;
        if (alarmAwaits(a.state) && a.dueMs &&
            (!nearest || *a.dueMs - nowMs < *alarms[*nearest].dueMs - nowMs))
            nearest = i;
    }
    return nearest;
}

// Each span is rounded to the nearest of its smallest unit: 11 min 57 s left reads "12 min".
QString PanelTexts::span(qint64 ms) {
    const qint64 t = std::llabs(ms);
    if (const qint64 seconds = (t + Second / 2) / Second; seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    const qint64 minutes = (t + Minute / 2) / Minute;
    if (minutes < 60)
        return QStringLiteral("%1 min").arg(minutes);
    if (minutes < 24 * 60)
        return minutes % 60 == 0
                   ? QStringLiteral("%1 h").arg(minutes / 60)
                   : QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
    const qint64 hours = (t + Hour / 2) / Hour;
    return QStringLiteral("%1 d %2 h").arg(hours / 24).arg(hours % 24);
}

QString PanelTexts::shortSpan(qint64 ms) {
    const qint64 t = std::max<qint64>(ms, 0);
    if (const qint64 seconds = (t + Second / 2) / Second; seconds < 60)
        return QStringLiteral("%1s").arg(seconds);
    if (const qint64 minutes = (t + Minute / 2) / Minute; minutes < 60)
        return QStringLiteral("%1m").arg(minutes);
    if (const qint64 hours = (t + Hour / 2) / Hour; hours < 24)
        return QStringLiteral("%1h").arg(hours);
    return QStringLiteral("%1d").arg(std::min<qint64>((t + Day / 2) / Day, 99));
}

QString PanelTexts::line(const Verbs::ListedAlarm& a, qint64 nowMs) {
    const QString title = titleOf(a) + QStringLiteral(": ");
    const qint64 left = a.dueMs ? *a.dueMs - nowMs : 0;
    const QString due = a.dueMs ? clock(*a.dueMs, nowMs) : QString();
    switch (a.state) {
    case AlarmState::Counting:
        return title + QStringLiteral("%1 left, due %2").arg(span(left), due);
    case AlarmState::Beeping:
    case AlarmState::InYourFace:
        return title + QStringLiteral("ringing for %1").arg(span(left));
    case AlarmState::ReRunOff:
        return title + QStringLiteral("silent, rings again in %1, at %2").arg(span(left), due);
    case AlarmState::ReRunOn:
        return title + QStringLiteral("ringing, %1 cycles").arg(a.cycles);
    case AlarmState::LaunchPending:
        return title + QStringLiteral("starts its program in %1, at %2").arg(span(left), due);
    case AlarmState::LaunchFailed:
        return title + QStringLiteral("its program could not start");
    case AlarmState::Away:
        return title + QStringLiteral("kept while Pingolet was not running");
    case AlarmState::Idle:
        break;
    }
    return title + QStringLiteral("idle");
}

QString PanelTexts::menuTitle(const Verbs::ListedAlarm& a, qint64 nowMs) {
    if (alarmAwaits(a.state) && a.dueMs)
        return QStringLiteral("%1 (%2 left)").arg(titleOf(a), span(*a.dueMs - nowMs));
    if (alarmSounds(a.state))
        return QStringLiteral("%1 (ringing)").arg(titleOf(a));
    return titleOf(a);
}
