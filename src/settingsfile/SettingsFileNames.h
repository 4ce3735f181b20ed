#pragma once

#include <QString>

// The names the settings file is found by: its own, its sections', and the editor that stands
// for the desktop's own.
namespace SettingsFileNames {
inline const QString FileName = QStringLiteral("Pingolet.ini");
inline const QString UserData = QStringLiteral("User-Data");
inline const QString ProgramData = QStringLiteral("Program-Data");
inline const QString DefaultEditor = QStringLiteral("NotePad");
} // namespace SettingsFileNames
