#include "AutostartEntry.h"

#include "platform/ApplicationId.h"

namespace {
// An Exec argument with anything but plain path characters goes in double quotes, with the
// characters that stay special there escaped; the entry's own string escaping then doubles
// every backslash.
QString execArgument(const QString& path) {
    bool plain = !path.isEmpty();
    for (const QChar c : path) {
        if (!(c.isLetterOrNumber() || QStringView(u"/._+-,").contains(c)) || c.unicode() > 127)
            plain = false;
    }
    if (plain)
        return path;
    QString quoted;
    for (const QChar c : path) {
        if (QStringView(u"\"`$\\").contains(c))
            quoted += u'\\';
        quoted += c;
    }
    quoted = u'"' + quoted + u'"';
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return quoted;
}
} // namespace

QString AutostartEntry::fileName() {
    return applicationId() + QStringLiteral(".resume.desktop");
}

QByteArray AutostartEntry::text(const QString& program) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Pingolet alarms\n"
                          "Comment=Brings back the alarms that were pending when the session "
                          "ended\n"
                          "Exec=%1 --resume\n"
                          "NoDisplay=true\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execArgument(program))
        .toUtf8();
}
