#pragma once

#include <QString>

// The program's own window, as the windowing system sees it.
class WindowControl {
public:
    virtual ~WindowControl() = default;
    // Restores, raises and activates the window whose title equals the given one, and asks
    // for the user's attention. Does not wait.
    virtual void activateByTitle(const QString& title) = 0;
    // The alarm ended: the window demands the user's attention no more.
    virtual void stopAskingForAttention() = 0;
    // Closes the window and ends the program.
    virtual void endProgram() = 0;
    // Whether the desktop session is ending: a window closed then is not closed by the user.
    virtual bool sessionEnding() = 0;
};
