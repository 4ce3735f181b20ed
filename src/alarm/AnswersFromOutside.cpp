#include "app/Program.h"

void Program::Acknowledge() {
    if (!ended_)
        handler([this] { Text4_Change(); })();
}

// Checked as the field would compute it, so that a text which would only turn the field red,
// or end the alarm at once, changes nothing.
std::optional<QString> Program::Snooze(const QString& duration) {
    if (ended_)
        return QStringLiteral("the alarm has ended");
    if (duration.size() > form.Text8.maxLength())
        return QStringLiteral("\"%1\" is longer than the StartSet field's %2 characters")
            .arg(duration)
            .arg(form.Text8.maxLength());
    const auto seconds = startSetSeconds(duration);
    if (!seconds || !(*seconds > 0))
        return QStringLiteral("\"%1\" is no time to wait: give a number and a unit (30s, 5m, "
                              "1.5h, 2d, 1w) or a time of day (07h30)")
            .arg(duration);
    form.Text8.setText(duration);
    handler([this] { Text8_LostFocus(); })();
    return std::nullopt;
}

void Program::Cancel() {
    if (ended_)
        return;
    keeper.drop();
    ended_ = true;
    platform_.window.endProgram();
}

// A window closed by the user ends its alarm; one closed because the session ends keeps it.
void Program::Form_Unload() {
    keeper.windowClosed(platform_.window.sessionEnding());
}
