#pragma once

#include <QString>

// Where Pingolet keeps what outlives a run: $XDG_STATE_HOME/pingolet/, or
// ~/.local/state/pingolet/ when XDG_STATE_HOME is unset or not an absolute path.
namespace UserStateFolder {
QString path(); // ends in "/"
// $XDG_CONFIG_HOME/autostart/ (or ~/.config/autostart/), ending in "/": what the desktop runs
// at login.
QString autostartFolder();
} // namespace UserStateFolder
