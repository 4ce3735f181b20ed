#include "QtProgramEnvironment.h"

#include "platform/linux/settings/UserConfigFolder.h"

#include <QCoreApplication>

#include <utility>

QtProgramEnvironment::QtProgramEnvironment() : arguments_(QCoreApplication::arguments()) {}

QtProgramEnvironment::QtProgramEnvironment(QStringList arguments, SettingsPlace place)
    : arguments_(std::move(arguments)), place_(place) {}

QString QtProgramEnvironment::programDirectory() {
    if (place_ == SettingsPlace::UserConfigFolder)
        return UserConfigFolder::path();
    return QCoreApplication::applicationDirPath();
}

QString QtProgramEnvironment::commandLineTail() {
    return arguments_.mid(1).join(QLatin1Char(' '));
}
