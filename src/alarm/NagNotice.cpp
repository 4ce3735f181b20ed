#include "alarm/AlarmTexts.h"
#include "app/Program.h"

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
} // namespace

// One notice per alarm, posted when it first gets in the user's face.
void Program::showNagNotice(float elapsed) {
    QString summary;
    const bool missed = keeper.launchMissed();
    if (missed) {
        summary = QStringLiteral("Not started: ") + startCommand();
    } else if (m.AlarmMode == ModeLaunchFailed || m.AlarmMode == ModeLaunchFailedInYourFace) {
        summary = QStringLiteral("Could not start ") + startCommand();
    } else {
        summary = AlarmTexts::shown(AlarmTexts::title(form.Text4.text()));
    }
    const QString late = keeper.lateLine();
    QString body = late.isEmpty() ? beepingSince(elapsed) : late;
    body += missed ? QStringLiteral("\nA new StartSet or an edit of the message re-arms it.")
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
