#pragma once

#include "platform/ProgramLauncher.h"

// Starts command lines as detached processes, without a shell. The program is the shortest
// blank-separated prefix of the line that names an executable file, so that a path with blanks
// needs no quotes; blanks separate the arguments after it, and double quotes group them.
class ProcessLauncher : public ProgramLauncher {
public:
    // The window style is only a hint, and there is no portable way to pass it on: ignored.
    qint64 launch(const QString& commandLine, WindowStyle style) override;
    bool isRunning(qint64 processId) override;
};
