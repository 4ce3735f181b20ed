#pragma once

#include <QDir>
#include <QString>

// A base folder of the XDG rules: the variable's value when it is an absolute path, else the
// fallback under the home folder (a relative value is invalid and ignored). Without the
// trailing "/".
inline QString xdgFolder(const char* variable, const char* fallbackInHome) {
    QString base = qEnvironmentVariable(variable);
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1String(fallbackInHome);
    base = QDir::cleanPath(base);
    if (base.endsWith(u'/')) // the root folder itself
        base.chop(1);
    return base;
}
