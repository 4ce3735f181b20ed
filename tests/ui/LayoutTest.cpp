#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
struct Layout : testing::Test {
    Harness h;
    void SetUp() override { h.program.Form_Load(); }
    void resize(int w, int hgt) { h.form.windowResized(w, hgt, Form1::Normal); }
    void toggleArea() { h.form.CmdOpnX.Click.raise(); }
};
} // namespace

TEST_F(Layout, CreationSizeWithTheAreaClosedAndOpen) {
    resize(5640, 2550);
    Form1& f = h.form;
    EXPECT_EQ(f.Text4.height(), 1550);
    EXPECT_EQ(f.VScroll1.height(), 1550);
    for (const TextBox* box : {&f.Text1, &f.Text2, &f.Text3})
        EXPECT_EQ(box->top(), 1750);
    EXPECT_EQ(f.CmdWrtINI.top(), 1730);
    EXPECT_EQ(f.Text4.width(), 4840);
    EXPECT_EQ(f.VScroll1.left(), 5140);
    EXPECT_EQ(f.Text1.left(), 4640);
    EXPECT_EQ(f.Text2.left(), 3940);
    EXPECT_EQ(f.Text3.left(), 2920);
    EXPECT_EQ(f.CmdWrtINI.left(), 1240);
    EXPECT_EQ(f.CmdOpnX.left(), 5015);

    toggleArea();
    EXPECT_EQ(f.VScroll1.left(), 4040);
    EXPECT_EQ(f.Text4.width(), 3740);
    for (const TextBox* field : {&f.Text5, &f.Text6, &f.Text7, &f.Text8, &f.Text10})
        EXPECT_EQ(field->left(), 4490);
    EXPECT_EQ(f.CmdOpnX.left(), 5015);
    EXPECT_EQ(f.CmdEditINI.left(), 5015);
    EXPECT_EQ(f.width(), 5640) << "opening redistributes the width";
}

// A window maximised on a 4K screen at 15 twips a pixel: past what 16 bits hold.
TEST_F(Layout, BigWindowWithTheAreaClosedAndOpen) {
    resize(57600, 31200);
    Form1& f = h.form;
    EXPECT_EQ(f.Text4.height(), 30200);
    EXPECT_EQ(f.Text3.top(), 30400);
    EXPECT_EQ(f.Text4.width(), 56800);
    EXPECT_EQ(f.Text1.left(), 56600);

    toggleArea();
    EXPECT_EQ(f.Text4.height(), 30200);
    EXPECT_EQ(f.Text1.top(), 30400);
    EXPECT_EQ(f.Text4.width(), 55700);
    EXPECT_EQ(f.VScroll1.left(), 56000);
    for (const TextBox* field : {&f.Text5, &f.Text6, &f.Text7, &f.Text8, &f.Text10})
        EXPECT_EQ(field->left(), 56450);
    EXPECT_EQ(f.CmdEditINI.left(), 56975);
}

TEST_F(Layout, MinimumSizes) {
    struct Case {
        bool open;
        int w, hgt, wantW, wantH;
    } cases[] = {
        {false, 1000, 1000, 4520, 1600},
        {true, 1000, 1000, 5620, 2500},
        {false, 4100, 1280, 4100, 1280}, // exactly at the limits: left alone
        {true, 6000, 2000, 6000, 2500},
    };
    for (const Case& c : cases) {
        Harness fresh;
        fresh.program.Form_Load();
        if (c.open)
            fresh.form.CmdOpnX.Click.raise();
        fresh.form.windowResized(c.w, c.hgt, Form1::Normal);
        EXPECT_EQ(fresh.form.width(), c.wantW) << c.w << "x" << c.hgt << " open " << c.open;
        EXPECT_EQ(fresh.form.height(), c.wantH) << c.w << "x" << c.hgt << " open " << c.open;
    }
}

TEST_F(Layout, ClosingTheAreaDoesNotShrinkTheWindowAgain) {
    resize(6000, 2000);
    toggleArea();
    EXPECT_EQ(h.form.height(), 2500);
    toggleArea();
    EXPECT_EQ(h.form.height(), 2500);
    EXPECT_EQ(h.form.Text4.width(), 5200);
}

TEST_F(Layout, MinimisingMovesNothingButStillRunsTheTick) {
    resize(7000, 3000);
    std::vector<std::pair<int, int>> before;
    for (Control* c : h.form.controls())
        before.push_back({c->left(), c->top()});
    h.m.TickCounter = 57;
    h.form.windowResized(1000, 500, Form1::Minimized);
    std::vector<std::pair<int, int>> after;
    for (Control* c : h.form.controls())
        after.push_back({c->left(), c->top()});
    EXPECT_EQ(after, before);
    EXPECT_EQ(h.form.Text4.width(), 6200);
    EXPECT_LE(h.m.TickCounter, 1) << "the forced update ran";
}

TEST_F(Layout, Text9FollowsTheBottomWhileVisible) {
    h.form.Text4.setText("ReRun: Off=1m On=1m");
    ASSERT_TRUE(h.form.Text9.visible());
    resize(6000, 3000);
    EXPECT_EQ(h.form.Text9.top(), 1830);
}
