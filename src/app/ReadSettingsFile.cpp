#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/Program.h"
#include "app/Version.h"
#include "settingsfile/SettingsFileNames.h"

#include <cmath>

using SettingsFileNames::ProgramData;
using SettingsFileNames::UserData;

// Fills what the command line left empty or zero. A slider value that does not fit ends the
// reader at its key.
void Program::ReadSettingsFile() {
    auto read = [&](const QString& section, const char* key, const QString& defaultValue) {
        return platform_.profile.readString(section, QLatin1String(key), defaultValue, m.IniPath);
    };

    m.IniEditor = read(UserData, "INI_Edit", SettingsFileNames::DefaultEditor);
    form.CmdEditINI.setToolTipText(QStringLiteral("Edit \".INI & HELP\" file using ") +
                                   m.IniEditor + u'.');

    const auto fileVersion = NumberRule::leadingNumber(read(ProgramData, "Version", "0"));
    const auto ownVersion = NumberRule::leadingNumber(Version::text());
    if (!fileVersion)
        return;
    if (*fileVersion != *ownVersion && platform_.files.isFile(m.IniPath)) {
        m.MessageText =
            QStringLiteral("You seem to have upgraded your program, but not the .INI file. Please "
                           "extract irreplaceable information from the existing file ") +
            m.IniPath +
            QStringLiteral(", and perform an .INI re-build. This latter step is most easily done "
                           "by reducing this message to the two characters «/?».");
        m.AlarmMode = AlarmModes::ModeIdle;
    }

    m.BeepCommand = read(UserData, "BEEP", "Beep");
    if (m.MessageText.isEmpty())
        m.MessageText = read(UserData, "Message", "Default Message");

    auto readInterval = [&](const char* key, std::int16_t& target) {
        if (target != 0)
            return true;
        const auto number = NumberRule::leadingNumber(read(UserData, key, "0"));
        return number && Store::int16(target, std::floor(*number));
    };
    if (!readInterval("BeepIntervalSet", m.BeepIntervalSet) ||
        !readInterval("BeepIntervalMin", m.BeepIntervalMin) ||
        !readInterval("BeepIntervalMax", m.BeepIntervalMax))
        return;

    if (m.DropDeadText.isEmpty())
        m.DropDeadText = read(UserData, "DropDead", "0");
    if (m.StartSetText.isEmpty())
        m.StartSetText = read(UserData, "StartSet", "0");
}
