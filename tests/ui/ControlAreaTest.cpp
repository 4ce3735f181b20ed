#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
struct ControlArea : testing::Test {
    Harness h;
    void SetUp() override { h.program.Form_Load(); }
    void click() { h.form.CmdOpnX.Click.raise(); }
};
} // namespace

TEST_F(ControlArea, OpensWithTheFieldsFilledFromTheSliderAndCloses) {
    click();
    EXPECT_EQ(h.form.CmdOpnX.caption(), "Less");
    EXPECT_EQ(h.m.ControlAreaOpen, 1100);
    for (Control* c :
         std::initializer_list<Control*>{&h.form.Text5, &h.form.Text6, &h.form.Text7, &h.form.Text8,
                                         &h.form.Text10, &h.form.CmdEditINI})
        EXPECT_TRUE(c->visible()) << c->name().toStdString();
    EXPECT_EQ(h.form.Text5.text(), "32");
    EXPECT_EQ(h.form.Text6.text(), "20");
    EXPECT_EQ(h.form.Text7.text(), "1");
    click();
    EXPECT_EQ(h.form.CmdOpnX.caption(), "More");
    EXPECT_EQ(h.m.ControlAreaOpen, 0);
    EXPECT_FALSE(h.form.Text8.visible());
}

TEST_F(ControlArea, SaveButtonFollowsWhatThereIsToSave) {
    click();
    EXPECT_FALSE(h.form.CmdWrtINI.enabled()) << "nothing changed: nothing to save";
    click();

    h.m.SettingsDirty = Module1::True;
    click();
    EXPECT_TRUE(h.form.CmdWrtINI.enabled());
    click();
    EXPECT_FALSE(h.form.CmdWrtINI.enabled()) << "area settings are saved only while it is open";

    click();
    h.form.Text4.setText("edited");
    click();
    EXPECT_TRUE(h.form.CmdWrtINI.enabled()) << "the edited message can still be saved";
}

TEST_F(ControlArea, EveryClickRepairsRedEntries) {
    click();
    h.form.Text5.setText("abc");
    h.program.ApplySliderLimits();
    h.form.Text8.setText("soon");
    h.program.Text8_LostFocus();
    ASSERT_EQ(h.form.Text5.backColor(), Colors::Red);
    ASSERT_EQ(h.form.Text8.backColor(), Colors::Red);
    click();
    EXPECT_EQ(h.form.Text5.text(), "32");
    EXPECT_EQ(h.form.Text5.backColor(), Colors::WindowBackground);
    EXPECT_EQ(h.form.Text8.text(), "0Min.");
    EXPECT_EQ(h.form.Text8.backColor(), Colors::WindowBackground);
}
