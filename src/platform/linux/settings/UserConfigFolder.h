#pragma once

#include <QString>

// The user's own folder for Pingolet's settings: $XDG_CONFIG_HOME/pingolet/, or
// ~/.config/pingolet/ when XDG_CONFIG_HOME is unset or not an absolute path.
namespace UserConfigFolder {

// The folder's path, ending in "/".
QString path();

// Creates that folder (and the folders above it) when `filePath` lies directly in it and it is
// missing, so that the first save succeeds. Anything else is left to the writer, whose own
// failure then reports a folder that cannot be made.
void createFor(const QString& filePath);

} // namespace UserConfigFolder
