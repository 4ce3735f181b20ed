#pragma once

#include "platform/ProgramEnvironment.h"
#include "platform/SettingsPlace.h"

#include <QStringList>

// The program's own folder (where the executable lives, or the user's settings folder for an
// installed build) and what it was started with.
class QtProgramEnvironment : public ProgramEnvironment {
public:
    // Takes the arguments of the running application; create the QCoreApplication first.
    QtProgramEnvironment();
    // Takes the given arguments, the program's own name first, as in argv.
    explicit QtProgramEnvironment(QStringList arguments, SettingsPlace place = builtSettingsPlace);

    QString programDirectory() override;
    QString commandLineTail() override;

private:
    QStringList arguments_;
    SettingsPlace place_ = builtSettingsPlace;
};
