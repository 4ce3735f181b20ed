#include "FakePlatform.h"

#include <gtest/gtest.h>

TEST(ShowTime, PicksNumberAndUnitByMagnitude) {
    struct Case {
        float seconds;
        const char* text;
    } cases[] = {
        {0.04f, "0.0 Sec."}, {5, "5.0 Sec."},     {-5, "5.0 Sec."},    {9.96f, "10.0 Sec."},
        {10, "10 Sec."},     {42.5f, "42 Sec."},  {59.4f, "59 Sec."},  {60, "1.0 Min."},
        {150, "2.5 Min."},   {599, "10.0 Min."},  {600, "10 Min."},    {3599, "60 Min."},
        {3600, "1.0 Hr."},   {35999, "10.0 Hr."}, {36000, "10 Hr."},   {86399, "24 Hr."},
        {86400, "1.0 Dy."},  {604799, "7.0 Dy."}, {604800, "1.0 Wk."}, {6047999, "10.0 Wk."},
        {6048000, "10 Wk."}, {-1e9f, "1653 Wk."},
    };
    for (const Case& c : cases) {
        Harness h;
        float v = c.seconds;
        h.program.ShowTime(v);
        EXPECT_EQ(h.form.Text3.text(), QString::fromUtf8(c.text)) << c.seconds;
        EXPECT_EQ(v, std::fabs(c.seconds)) << "the argument becomes its absolute value";
    }
}

TEST(ShowTime, ColoursAndCaptionMark) {
    Harness h;
    h.m.CaptionText = "Tea";
    float v = 150;
    h.program.ShowTime(v);
    EXPECT_EQ(h.form.Text3.backColor(), Colors::Green);
    EXPECT_EQ(h.form.Text3.foreColor(), Colors::Black);
    EXPECT_EQ(h.form.caption(), "2.5m-> Tea");
    v = 7200;
    h.program.ShowTime(v);
    EXPECT_EQ(h.form.caption(), "2.0h-> Tea");

    v = 0;
    h.program.ShowTime(v);
    EXPECT_EQ(h.form.Text3.backColor(), Colors::Red);
    EXPECT_EQ(h.form.Text3.foreColor(), Colors::White);
    EXPECT_EQ(h.form.Text3.text(), "0.0 Sec.");
    EXPECT_EQ(h.form.caption(), "->--- Tea") << "zero shows the arrow, not a time";
}

TEST(ShowTime, RunningArrowMovesOnePlaceEachCallAndGoesOnAfterAPositiveValue) {
    Harness h;
    h.m.CaptionText = "X";
    QStringList captions;
    for (int i = 0; i < 5; ++i) {
        float v = -5;
        h.program.ShowTime(v);
        captions << h.form.caption();
    }
    EXPECT_EQ(captions, (QStringList{"->--- X", "-->-- X", "--->- X", "----> X", "->--- X"}));
    float positive = 5;
    h.program.ShowTime(positive);
    float negative = -5;
    h.program.ShowTime(negative);
    EXPECT_EQ(h.form.caption(), "-->-- X") << "the arrow is not reset by a positive value";
}

TEST(ShowTime, ReRunColoursTakePrecedenceInTheCaption) {
    Harness h;
    h.m.CaptionText = " tea";
    h.form.Text4.setBackColor(Colors::Orange);
    float v = -12;
    h.program.ShowTime(v);
    EXPECT_EQ(h.form.caption(), ">12 Sec.< tea");
    h.form.Text4.setBackColor(Colors::Yellow);
    v = 150;
    h.program.ShowTime(v);
    EXPECT_EQ(h.form.caption(), "<2.5 Min.> tea");
}

TEST(ShowTime, MinimisedKeepsText3ButStillUpdatesColoursAndCaption) {
    Harness h;
    float v = 5;
    h.program.ShowTime(v);
    h.form.setWindowState(Form1::Minimized);
    v = -90;
    h.program.ShowTime(v);
    EXPECT_EQ(h.form.Text3.text(), "5.0 Sec.");
    EXPECT_EQ(h.form.Text3.backColor(), Colors::Red);
    EXPECT_EQ(h.form.caption(), "-->-- ") << "the minimising resize showed the first arrow";
}
