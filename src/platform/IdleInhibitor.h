#pragma once

#include <QString>

// Asks the desktop not to go idle (no screen saver, no suspend for inactivity) while an alarm
// sounds or is near. Never blocks a suspend, a logout or a user switch that the user asks for.
class IdleInhibitor {
public:
    virtual ~IdleInhibitor() = default;
    // Holds one inhibition, for the reason the desktop may show; while held, a call changes
    // nothing.
    virtual void inhibit(const QString& reason) = 0;
    // Gives it back; nothing when none is held.
    virtual void release() = 0;
};
