#pragma once

#include "platform/SettingsPlace.h"

#include <QStringList>

// The text of the settings-and-help file "Pingolet.ini": the User-Data section with every key at
// its default, the Program-Data section with the version, and the HELP section that is the
// program's user documentation.
namespace SettingsFileText {
// The file's 95 lines in order, without line ends. The caller encodes them in the settings
// files' code page and ends each with CR LF. The help names the folder the file lives in.
const QStringList& lines(SettingsPlace place = builtSettingsPlace);
} // namespace SettingsFileText
