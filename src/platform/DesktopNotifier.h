#pragma once

#include <QString>

// The desktop's notifications: one notice at a time, for the alarm that gets in the user's face.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;
    // Shows a new notice. Returns at once; a desktop without notifications shows nothing.
    virtual void post(const QString& summary, const QString& body) = 0;
    // Changes the texts of the notice shown, in place; nothing when none is shown.
    virtual void update(const QString& summary, const QString& body) = 0;
    // Takes the notice shown away; nothing when none is shown.
    virtual void withdraw() = 0;
};
