#pragma once

#include <QString>

// What several places say of an alarm, said alike: its title, and when it is due.
namespace AlarmTexts {
// The first line of its message.
QString title(const QString& message);
// A title as shown: "Pingolet" when it is blank.
QString shown(const QString& title);
// Local time, in todayFormat on the day of nowMs, else in otherDayFormat.
QString localTime(qint64 ms, qint64 nowMs, const QString& todayFormat,
                  const QString& otherDayFormat);
} // namespace AlarmTexts
