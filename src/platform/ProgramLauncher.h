#pragma once

#include <QString>
#include <QtGlobal>

// How a started program's window is to appear. Desktops decide for themselves; the style is
// passed on as a hint only.
enum class WindowStyle { NormalNoFocus, MinimizedFocus, NormalFocus };

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // Starts a command line without waiting for it. Returns the process id (> 0), or 0 when
    // the program cannot be started.
    virtual qint64 launch(const QString& commandLine, WindowStyle style) = 0;
    // Whether a program started by launch() is still running.
    virtual bool isRunning(qint64 processId) = 0;
};
