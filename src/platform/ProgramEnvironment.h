#pragma once

#include <QString>

class ProgramEnvironment {
public:
    virtual ~ProgramEnvironment() = default;
    // The program's own folder, which holds its settings file: the directory of the executable,
    // or the user's settings folder for an installed build.
    virtual QString programDirectory() = 0;
    // The program's arguments joined by single blanks.
    virtual QString commandLineTail() = 0;
};
