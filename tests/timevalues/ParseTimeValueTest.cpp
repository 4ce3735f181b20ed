#include "FakePlatform.h"

#include <gtest/gtest.h>

TEST(ParseTimeValue, NumberTimesTheEarliestUnit) {
    struct Case {
        const char* text;
        float seconds;
    } cases[] = {
        {"3 min", 180},
        {"0.05h", 180},
        {"2E6s", 2e6f},
        {"2E3 s", 2000},
        {"2D3 s", 2000 * 86400.0f}, // the exponent's "D" is also the earliest unit
        {"1.5 Days", 129600},       // days, although an "s" follows
        {"2 Wks", 1209600},
        {"2 Hours", 7200},
        {"3 Wednesdays", 3 * 604800.0f},
        {"2 mins 30 s", 120}, // only the earliest unit counts
        {"5 Secs.", 5},
        {"5 S", 5},
        {"1 2 m", 720}, // blanks inside the number are skipped
        {"-5m", 300},
        {"1e30 s", 1e30f},
        {"10", 0},  // no unit
        {"s5", 0},  // a letter in the first character is no unit
        {"S5s", 0}, // ... and no number either
        {"0 min", 0},
        {"", 0},
        {"m", 0},
        {"1e38 w", 0},   // the product overflows
        {"1e39 s", 0},   // the number itself overflows a single float
        {"1e400 s", 0},  // ... and a double
        {"5 \u017F", 0}, // only ASCII letters are units
    };
    for (const Case& c : cases) {
        Harness h;
        EXPECT_FLOAT_EQ(h.program.ParseTimeValue(QString::fromUtf8(c.text)), c.seconds) << c.text;
    }
}

TEST(ParseTimeValue, KeepsTheNumberReadInParseValue) {
    Harness h;
    h.program.ParseTimeValue("-2.5 min");
    EXPECT_FLOAT_EQ(h.m.ParseValue, 2.5f);
}
