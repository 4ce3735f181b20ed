#include "FakePlatform.h"

#include <gtest/gtest.h>

// What the sleeping window is told must be what the tick then does: for counters all around
// the cycle, the answer is the number of ticks until one really updates.
TEST(TicksToNextUpdate, MatchesTheTicksThatReallyComeBeforeTheUpdate) {
    struct Case {
        int interval;
        std::int32_t counter;
    };
    const Case cases[] = {{20, -1},  {20, 0},   {20, 1},    {20, 2}, {20, 150},
                          {20, 199}, {20, 200}, {20, 5000}, {1, 1},  {1, 9}};
    for (const Case& c : cases) {
        Harness h;
        h.program.Form_Load();
        h.form.Timer1.setInterval(c.interval);
        h.m.TickCounter = c.counter;

        const qint64 told = h.form.Timer1.ticksToUpdate();
        EXPECT_EQ(h.m.TickCounter, c.counter) << "asking changes nothing";
        qint64 ticks = 0;
        float before = 0;
        do {
            h.clock.advance(1);
            before = h.m.LastTickTime;
            h.program.Timer1_Timer();
            ++ticks;
        } while (h.m.LastTickTime == before && ticks < 100000);
        EXPECT_EQ(told, ticks) << "V = " << c.interval << ", counter " << c.counter;
    }
}
