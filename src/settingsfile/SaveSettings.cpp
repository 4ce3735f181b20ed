#include "app/NumberText.h"
#include "app/Program.h"

namespace {
const QString userData = QStringLiteral("User-Data");
} // namespace

// Writes the message, and with the control area open the slider and timing settings, key by
// key into the settings file. Only a failed message write is reported.
void Program::SaveSettings() {
    auto write = [&](const char* key, const QString& value) {
        return platform_.profile.writeString(userData, QLatin1String(key), value, m.IniPath);
    };

    if (!write("Message", m.MessageText)) {
        // The message stays inside the error text, to be copied or saved again.
        m.MessageText =
            QStringLiteral("ERROR! Message not saved! Check for valid write permission. « ") +
            m.MessageText + QStringLiteral(" »");
        platform_.beep.beep();
    }
    if (m.ControlAreaOpen == 0)
        return;
    write("BeepIntervalMax", NumberText::integer(m.BeepIntervalMax));
    write("BeepIntervalSet", NumberText::integer(m.BeepIntervalSet));
    write("BeepIntervalMin", NumberText::integer(m.BeepIntervalMin));
    if (m.SecondsToAlarm > 0)
        write("StartSet", m.StartSetText);
    if (m.DropDeadSeconds > 0)
        write("DropDead", m.DropDeadText);
}
