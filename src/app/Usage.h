#pragma once

#include "platform/SettingsPlace.h"

#include <QString>

// The two questions a Linux program answers from a terminal: what it takes, and which version
// it is. Only a command line that is exactly "--help" or "--version" asks them; any other goes
// to the program's own command line, where "/m=--help" is just a message.
namespace Usage {
enum class Request { None, Help, Version };

Request request(int argc, const char* const argv[]);

// Names where the settings file lives for the kind of build.
QString helpText(SettingsPlace place = builtSettingsPlace);
QString versionText(); // "Pingolet 1.21", with a line break
} // namespace Usage
