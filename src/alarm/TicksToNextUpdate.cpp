#include "app/Program.h"

#include <algorithm>

// Follows the tick's counting: a tick that leaves the counter below 2 updates, and the one that
// brings it to 10 x Interval starts it again from 0.
qint64 Program::ticksToNextUpdate() const {
    const qint64 counter = m.TickCounter;
    if (counter + 1 < 2)
        return 1;
    const qint64 toRestart = std::max<qint64>(1, 10 * qint64(form.Timer1.interval()) - counter);
    return toRestart + 1;
}
