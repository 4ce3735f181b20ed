#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
// A program with the control area open and the slider at 1 to 32, setting 20.
struct SliderLimits : testing::Test {
    Harness h;
    void SetUp() override {
        h.program.Form_Load();
        h.form.CmdOpnX.Click.raise();
    }
    void enter(const char* max, const char* set, const char* min) {
        h.form.Text5.setText(max);
        h.form.Text6.setText(set);
        h.form.Text7.setText(min);
        h.form.Text7.LostFocus.raise();
    }
    QString redFields() {
        QString red;
        for (const TextBox* f : {&h.form.Text5, &h.form.Text6, &h.form.Text7})
            if (f->backColor() == Colors::Red)
                red += f->name() + u' ';
        return red.trimmed();
    }
};
} // namespace

TEST_F(SliderLimits, ValidTriplesGoToTheSliderAndBadOnesTurnRed) {
    struct Case {
        const char *max, *set, *min;
        const char* red; // empty: accepted
        int top, value, bottom;
    } cases[] = {
        {"999", "500", "1", "", 999, 500, 1},
        {"1000", "500", "1", "Text5", 32, 20, 1},
        {"5", "5", "5", "", 5, 5, 5},
        {"32", "20", "0", "Text7", 32, 20, 1},
        {"32", "20", "ab", "Text7", 32, 20, 1},
        {"ab", "20", "1", "Text5 Text6", 32, 20, 1},
        {"-5", "-6", "-7", "Text7", 32, 20, 1},
        {"32", "20.5", "1", "", 32, 20, 1}, // applied as 20
        {"32", "20", "0.6", "Text7", 32, 20, 1},
        {"10", "5", "3", "", 10, 5, 3}, // the value typed, though the new top end moved it first
        {"3", "5", "9", "Text5 Text6 Text7", 32, 20, 1},
    };
    for (const Case& c : cases) {
        h.form.VScroll1.setMin(32);
        h.form.VScroll1.setValue(20);
        h.form.VScroll1.setMax(1);
        enter(c.max, c.set, c.min);
        SCOPED_TRACE(testing::Message() << c.max << "/" << c.set << "/" << c.min);
        EXPECT_EQ(redFields(), c.red);
        EXPECT_EQ(h.form.VScroll1.min(), c.top);
        EXPECT_EQ(h.form.VScroll1.value(), c.value);
        EXPECT_EQ(h.form.VScroll1.max(), c.bottom);
    }
}

TEST_F(SliderLimits, AcceptingEnablesSaveEvenWhenNothingChanged) {
    ASSERT_FALSE(h.form.CmdWrtINI.enabled());
    h.form.Text6.LostFocus.raise();
    EXPECT_TRUE(h.form.CmdWrtINI.enabled());
    EXPECT_EQ(h.m.SettingsDirty, Module1::True);
    EXPECT_EQ(h.form.Timer1.interval(), 20);
}

TEST_F(SliderLimits, DoubleClickRepairsOnlyFromARedField) {
    enter("2000", "20", "1");
    ASSERT_EQ(redFields(), "Text5");
    h.form.Text7.DblClick.raise();
    EXPECT_EQ(redFields(), "Text5") << "a field that is not red changes nothing";
    h.form.Text5.DblClick.raise();
    EXPECT_EQ(redFields(), "");
    EXPECT_EQ(h.form.Text5.text(), "32");
    EXPECT_EQ(h.form.Text6.text(), "20");
}

TEST_F(SliderLimits, MovingTheSliderWhileTheSettingIsRedChecksAgain) {
    enter("32", "99", "1");
    ASSERT_EQ(redFields(), "Text5 Text6");
    h.form.Text5.setText("40"); // corrected, but not yet left
    h.form.VScroll1.setValue(25);
    EXPECT_EQ(redFields(), "");
    EXPECT_EQ(h.form.VScroll1.min(), 40);
    EXPECT_EQ(h.form.Timer1.interval(), 25);
}
