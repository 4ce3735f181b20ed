#pragma once

#include "platform/ApplicationId.h"

#include <QString>

// Where each running alarm is found on the session bus: a name of its own (the prefix and the
// alarm's id), one object path, and the interface <application id>.Alarm1.
namespace AlarmBusNames {
inline QString servicePrefix() {
    return applicationId() + QStringLiteral(".Alarm_");
}
inline QString service(const QString& id) {
    return servicePrefix() + id;
}
inline QString path() {
    return QStringLiteral("/") + applicationId().replace(u'.', u'/') + QStringLiteral("/Alarm");
}
inline QString interface() {
    return applicationId() + QStringLiteral(".Alarm1");
}
} // namespace AlarmBusNames
