#pragma once

#include "platform/AlarmStore.h"
#include "verbs/VerbRequest.h"

#include <QDBusConnection>

namespace Verbs {
// --list, --list --json, --watch --json, --ack, --snooze, --cancel and --open, on the user's
// session bus. The exit status: 0 done; 2 with one line on standard error for an unknown or
// ambiguous id, an alarm that is away, an unusable duration, or no session bus; 1 when a
// running alarm did not answer. Needs a QCoreApplication, and no display.
int answer(const Request& request, AlarmStore& store);

// --watch --json: the list as one line at once and again at every change, until the bus goes.
int watch(QDBusConnection& bus, AlarmStore& store);
} // namespace Verbs
