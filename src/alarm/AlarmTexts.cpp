#include "alarm/AlarmTexts.h"

#include <QDateTime>

QString AlarmTexts::title(const QString& message) {
    return message.left(message.indexOf(QLatin1String("\r\n")));
}

QString AlarmTexts::shown(const QString& title) {
    return title.trimmed().isEmpty() ? QStringLiteral("Pingolet") : title;
}

QString AlarmTexts::localTime(qint64 ms, qint64 nowMs, const QString& todayFormat,
                              const QString& otherDayFormat) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(ms);
    const bool today = t.date() == QDateTime::fromMSecsSinceEpoch(nowMs).date();
    return t.toString(today ? todayFormat : otherDayFormat);
}
