#include "app/NumberText.h"
#include "app/Program.h"
#include "app/Version.h"
#include "settingsfile/SettingsFileNames.h"

using SettingsFileNames::ProgramData;
using SettingsFileNames::UserData;

// Writes the message, and with the control area open the slider and timing settings, key by
// key into the settings file. Only a failed message write is reported.
void Program::SaveSettings() {
    auto write = [&](const char* key, const QString& value) {
        return platform_.profile.writeString(UserData, QLatin1String(key), value, m.IniPath);
    };

    const bool newFile = !platform_.files.isFile(m.IniPath);
    if (!write("Message", m.MessageText)) {
        // The message stays inside the error text, to be copied or saved again.
        m.MessageText =
            QStringLiteral("ERROR! Message not saved! Check for valid write permission. « ") +
            m.MessageText + QStringLiteral(" »");
        platform_.beep.beep();
    } else if (newFile) {
        // A file the save creates carries the version too, or the next start would take it
        // for an outdated file and hide the saved message behind the upgrade notice.
        platform_.profile.writeString(ProgramData, QStringLiteral("Version"), Version::text(),
                                      m.IniPath);
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
