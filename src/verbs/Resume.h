#pragma once

#include "alarm/AlarmRecord.h"
#include "platform/AlarmStore.h"

#include <QString>

#include <optional>

namespace Verbs {
// Brings back every recorded alarm that no running program holds, each by starting `program`
// with --resume and its id, and returns at once. Records that cannot be read are named on
// standard error and left where they are. The exit status.
int resumeAll(AlarmStore& store, const QString& program);

// For the program that brings one alarm back: holds its record and reads it. Empty, with the
// exit status, when another program holds it or it cannot be read.
struct Taken {
    std::optional<AlarmRecord> record;
    int exitStatus = 0;
};
Taken takeRecord(AlarmStore& store, const QString& id);
} // namespace Verbs
