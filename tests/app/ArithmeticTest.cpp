#include "QtPrinters.h"
#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/NumberText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(IntegerStore, RoundsHalvesToEvenAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(Store::toInt16(2.5), 2);
    EXPECT_EQ(Store::toInt16(3.5), 4);
    EXPECT_EQ(Store::toInt16(-2.5), -2);
    EXPECT_EQ(Store::toInt16(32767.4), 32767);
    EXPECT_EQ(Store::toInt16(32767.5), std::nullopt); // rounds to 32768
    EXPECT_EQ(Store::toInt16(-32768.5), -32768);      // rounds to the even -32768
    EXPECT_EQ(Store::toInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(Store::toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(Store::toInt32(2147483648.0), std::nullopt);
    EXPECT_EQ(Store::toSingle(1e39), std::nullopt);
    EXPECT_EQ(Store::toSingle(1e38), 1e38f);

    // Halves to even over the whole range, as the processor's own rounding does.
    const double halves[][2] = {{0.5, 0},
                                {1.5, 2},
                                {-0.5, -0.0},
                                {4503599627370495.5, 4503599627370496.0},
                                {4503599627370497.0, 4503599627370497.0},
                                {-1e300, -1e300}};
    for (const auto& [v, rounded] : halves) {
        EXPECT_EQ(Store::roundHalfEven(v), rounded) << v;
        EXPECT_EQ(std::signbit(Store::roundHalfEven(v)), std::signbit(rounded)) << v;
    }

    std::int16_t target = 7;
    EXPECT_FALSE(Store::int16(target, 40000));
    EXPECT_EQ(target, 7) << "a refused store leaves the target alone";
}

TEST(NumberText, OneDecimalRoundsTheShortestDecimalHalfAwayFromZero) {
    struct Case {
        float v;
        bool leadingZero;
        const char* text;
    } cases[] = {
        {0.04f, true, "0.0"},  {0.05f, true, "0.1"},    {0.15f, true, "0.2"},
        {2.05f, true, "2.1"},  {0.25f, true, "0.3"},    {9.96f, true, "10.0"},
        {9.95f, true, "10.0"}, {99.96f, true, "100.0"}, {5, true, "5.0"},
        {2.5f, false, "2.5"},  {0.5f, false, ".5"},     {1e7f, false, "10000000.0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberText::oneDecimal(c.v, c.leadingZero), QString::fromLatin1(c.text)) << c.v;
}

TEST(NumberText, WholeAndShortestForms) {
    EXPECT_EQ(NumberText::whole(42.5), "42");
    EXPECT_EQ(NumberText::whole(43.5), "44");
    EXPECT_EQ(NumberText::whole(59.4), "59");
    EXPECT_EQ(NumberText::whole(1e20), "100000000000000000000");
    EXPECT_EQ(NumberText::shortest(0.1), "0.1");
    EXPECT_EQ(NumberText::shortest(1), "1");
    EXPECT_EQ(NumberText::shortest(1.1), "1.1");
    EXPECT_EQ(NumberText::shortest(20), "20");
    EXPECT_EQ(NumberText::shortest(0.1 + 0.2), "0.3");
    EXPECT_EQ(NumberText::shortest(214748364.7), "214748364.7");
    EXPECT_EQ(NumberText::integer(-32768), "-32768");
}

TEST(NumberRule, ReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"3 min", 3},      {"1 2 m", 12},
        {" \t\n4", 4},     {"-5m", -5},
        {"+ 7", 7},        {"2E6s", 2e6},
        {"1.5D3", 1500},   {"1d+2", 100},
        {"1 e - 2", 0.01}, {"1.2.3", 1.2},
        {"5 Days", 5},     {"1e", 1},
        {"1e+", 1},        {"3ex", 3},
        {".5", 0.5},       {"abc", 0},
        {"", 0},           {"-", 0},
        {".", 0},          {"s5", 0},
        {"1e-400", 0},     {"0e999999999999", 0},
        {"12\r3", 12},     {"0x1A", 0},
    };
    for (const Case& c : cases) {
        const auto v = NumberRule::leadingNumber(QString::fromLatin1(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
}

TEST(NumberRule, OverflowIsNoNumber) {
    EXPECT_EQ(NumberRule::leadingNumber("1e400"), std::nullopt);
    EXPECT_EQ(NumberRule::leadingNumber("1e99999999999999999999"), std::nullopt);
    EXPECT_EQ(NumberRule::leadingNumber(QString(400, u'9')), std::nullopt);
    const auto longNumber = NumberRule::leadingNumber(QString(100000, u'1') + "e-99990");
    ASSERT_TRUE(longNumber.has_value());
    EXPECT_NEAR(*longNumber, 1.1111111111e9, 1);
}
