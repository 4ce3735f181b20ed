#include "QtProgramEnvironment.h"

#include <QCoreApplication>

#include <utility>

QtProgramEnvironment::QtProgramEnvironment() : arguments_(QCoreApplication::arguments()) {}

QtProgramEnvironment::QtProgramEnvironment(QStringList arguments)
    : arguments_(std::move(arguments)) {}

QString QtProgramEnvironment::programDirectory() {
    return QCoreApplication::applicationDirPath();
}

QString QtProgramEnvironment::commandLineTail() {
    return arguments_.mid(1).join(QLatin1Char(' '));
}
