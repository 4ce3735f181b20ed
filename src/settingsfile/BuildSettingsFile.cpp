#include "app/Program.h"
#include "platform/Windows1252.h"
#include "settingsfile/SettingsFileNames.h"
#include "settingsfile/SettingsFileText.h"

namespace {
// The file's bytes: every line in the 8-bit code page, each ended by CR LF.
QByteArray settingsFileBytes() {
    QByteArray bytes;
    for (const QString& line : SettingsFileText::lines()) {
        bytes += Windows1252::encode(line).value_or(line.toLatin1());
        bytes += "\r\n";
    }
    return bytes;
}
} // namespace

// Writes a fresh settings file with its help text beside the program, whatever "/f=" named.
// The file is replaced whole or not at all, so a failure leaves the previous one intact.
void Program::BuildSettingsFile() {
    if (m.IniEditor.isEmpty())
        m.IniEditor = SettingsFileNames::DefaultEditor;

    const QString path = m.AppDir + SettingsFileNames::FileName;
    if (platform_.files.writeFile(path, settingsFileBytes()))
        m.MessageText = QStringLiteral("The help you requested is available in the text file: «") +
                        path + QStringLiteral("».");
    else
        m.MessageText = QStringLiteral(
            "You requested help, but the '.INI' re-build was not allowed. Please run the program "
            "in a new directory to which the file: «Pingolet.ini» (~12 K) may be added.");
    m.AlarmMode = AlarmModes::ModeIdle;
    endNagNotice();
}
