#pragma once

#include <QString>

class ProgramEnvironment {
public:
    virtual ~ProgramEnvironment() = default;
    // The directory of the executable.
    virtual QString programDirectory() = 0;
    // The program's arguments joined by single blanks.
    virtual QString commandLineTail() = 0;
};
