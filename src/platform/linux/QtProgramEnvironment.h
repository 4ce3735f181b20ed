#pragma once

#include "platform/ProgramEnvironment.h"

#include <QStringList>

// Where the executable lives and what it was started with.
class QtProgramEnvironment : public ProgramEnvironment {
public:
    // Takes the arguments of the running application; create the QCoreApplication first.
    QtProgramEnvironment();
    // Takes the given arguments, the program's own name first, as in argv.
    explicit QtProgramEnvironment(QStringList arguments);

    QString programDirectory() override;
    QString commandLineTail() override;

private:
    QStringList arguments_;
};
