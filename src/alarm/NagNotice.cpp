#include "app/Program.h"

#include <QDateTime>

using namespace AlarmModes;

namespace {
// Coarse enough that the notice changes rarely: a desktop may show a changed notice afresh.
QString beepingSince(float elapsed) {
    const int minutes = int(elapsed / 60);
    if (minutes < 1)
        return QStringLiteral("Beeping began less than a minute ago.");
    if (minutes < 120)
        return QStringLiteral("Beeping began %1 min ago.").arg(minutes);
    return QStringLiteral("Beeping began %1 hours ago.").arg(minutes / 60);
}
// When an alarm that came back late was due, in local time; the day too when it was not today.
QString dueAt(qint64 dueMs, qint64 nowMs) {
    const QDateTime due = QDateTime::fromMSecsSinceEpoch(dueMs);
    const bool today = due.date() == QDateTime::fromMSecsSinceEpoch(nowMs).date();
    return due.toString(today ? QStringLiteral("HH:mm") : QStringLiteral("ddd d MMM HH:mm"));
}
} // namespace

// One notice per alarm, posted when it first gets in the user's face.
void Program::showNagNotice(float elapsed) {
    QString summary;
    if (launchMissed_) {
        summary = QStringLiteral("Not started: ") + startCommand();
    } else if (m.AlarmMode == ModeLaunchFailed || m.AlarmMode == ModeLaunchFailedInYourFace) {
        summary = QStringLiteral("Could not start ") + startCommand();
    } else {
        const QString& text = form.Text4.text();
        summary = text.left(text.indexOf(QLatin1String("\r\n")));
    }
    if (summary.trimmed().isEmpty())
        summary = QStringLiteral("Pingolet");
    QString body = beepingSince(elapsed);
    if (lateDueMs_) {
        body = QStringLiteral("It was due at %1, while Pingolet was not running")
                   .arg(dueAt(*lateDueMs_, platform_.clock.millisecondsSinceEpoch()));
        body += launchMissed_ ? QStringLiteral(": too late to start it now.") : QStringLiteral(".");
    }
    body += launchMissed_ ? QStringLiteral("\nA new StartSet or an edit of the message re-arms it.")
                          : QStringLiteral("\nEditing the message ends the alarm.");

    if (!noticeShown_)
        platform_.notifier.post(summary, body);
    else if (summary != noticeSummary_ || body != noticeBody_)
        platform_.notifier.update(summary, body);
    noticeShown_ = true;
    noticeSummary_ = summary;
    noticeBody_ = body;
}

void Program::endNagNotice() {
    if (!noticeShown_)
        return;
    noticeShown_ = false;
    platform_.notifier.withdraw();
    platform_.window.stopAskingForAttention(); // ended from the bus or a button: never focused
}
