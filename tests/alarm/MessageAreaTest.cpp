#include "FakePlatform.h"

#include <gtest/gtest.h>

using namespace AlarmModes;

namespace {
struct MessageArea : testing::Test {
    Harness h;
    void SetUp() override { h.program.Form_Load(); } // no settings file: no delay
    void type(const QString& text) { h.form.Text4.setText(text); }
    // Each keystroke of `text`, as a user types it into an empty Message Area.
    std::vector<std::int16_t> typeKeyByKey(const QString& text) {
        std::vector<std::int16_t> modes;
        for (qsizetype n = 1; n <= text.size(); ++n) {
            type(text.left(n));
            modes.push_back(h.m.AlarmMode);
        }
        return modes;
    }
    void updateAfter(float seconds) {
        h.clock.advance(seconds);
        h.tickToNextUpdate();
    }
};
} // namespace

TEST_F(MessageArea, EditingAcknowledgesWhileBeepingAndReArmsWhileCountingDown) {
    h.m.SecondsToAlarm = -30;
    h.m.AlarmMode = ModeArmed;
    h.form.Text4.setForeColor(Colors::Red); // flashing
    type("Tea is ready");
    EXPECT_EQ(h.m.AlarmMode, ModeIdle);
    EXPECT_EQ(h.form.Text4.foreColor(), Colors::WindowText);
    EXPECT_TRUE(h.form.CmdWrtINI.enabled());
    EXPECT_EQ(h.m.MessageDirty, Module1::True);

    h.m.SecondsToAlarm = 60;
    type("Tea\r\nin a minute");
    EXPECT_EQ(h.m.AlarmMode, ModeArmed);
    EXPECT_EQ(h.m.CaptionText, "Tea");
    EXPECT_FALSE(h.form.Text9.visible());
    EXPECT_EQ(h.form.Text4.backColor(), Colors::WindowBackground);
}

TEST_F(MessageArea, StartMessagePendsOnlyWhileTimeIsLeft) {
    h.m.SecondsToAlarm = 60;
    type("Start: /usr/bin/xclock");
    EXPECT_EQ(h.m.AlarmMode, ModeLaunchPending);
    EXPECT_EQ(h.form.Text4.backColor(), Colors::Green);
    type("Start: /usr/bin/xclock -digital");
    EXPECT_EQ(h.m.AlarmMode, ModeLaunchPending) << "edited while pending: still pending";
    EXPECT_EQ(h.form.Text4.backColor(), Colors::Green);

    h.m.SecondsToAlarm = -1;
    h.m.AlarmMode = ModeArmed;
    type("Start: /usr/bin/xclock");
    EXPECT_EQ(h.m.AlarmMode, ModeIdle) << "after the countdown it only acknowledges";
    EXPECT_EQ(h.form.Text4.backColor(), Colors::WindowBackground);

    h.m.SecondsToAlarm = 60;
    type("start: lower case is an ordinary message");
    EXPECT_EQ(h.m.AlarmMode, ModeArmed);
}

TEST_F(MessageArea, HelpMessageRebuildsTheFileAndShowsTheReportIdle) {
    h.m.SecondsToAlarm = 60;
    h.m.AlarmMode = ModeArmed;
    type("/?");
    EXPECT_EQ(h.files.written.count("/opt/pingolet/Pingolet.ini"), 1u);
    const QString report =
        QString::fromUtf8("The help you requested is available in the text file: "
                          "«/opt/pingolet/Pingolet.ini».");
    EXPECT_EQ(h.form.Text4.text(), report);
    EXPECT_EQ(h.m.AlarmMode, ModeIdle);
    EXPECT_EQ(h.m.CaptionText, report);
}

TEST_F(MessageArea, ExactReRunBecomesTheTemplate) {
    type("ReRun:");
    EXPECT_EQ(h.form.Text4.text(), "ReRun: Off= ## On= ## S,M,H,D,W : Text");
    EXPECT_EQ(h.m.AlarmMode, ModeReRunNoTimes);
    EXPECT_EQ(h.m.CaptionText, " Text");
}

TEST_F(MessageArea, ReRunTypedKeyByKeyStartsAtTheFirstCompleteKeystroke) {
    const QString message = "ReRun: Off=10s On=5s : tea";
    const auto modes = typeKeyByKey(message);
    const qsizetype complete = message.indexOf("5s") + 2; // "...On=5s" makes both usable
    for (qsizetype n = 6; n < complete; ++n) {
        EXPECT_GE(modes[n - 1], ModeReRunNoTimes) << message.left(n).toStdString();
        EXPECT_LE(modes[n - 1], ModeReRunOffOnly) << message.left(n).toStdString();
    }
    EXPECT_EQ(modes[complete - 1], ModeReRunOff);
    EXPECT_EQ(modes.back(), ModeReRunOff);
    EXPECT_FLOAT_EQ(h.m.ReRunOffSeconds, 10);
    EXPECT_FLOAT_EQ(h.m.ReRunOnSeconds, 5);
    EXPECT_TRUE(h.form.Text9.visible());
    EXPECT_EQ(h.form.Text4.backColor(), Colors::Yellow);
    EXPECT_EQ(h.m.CaptionText, " tea");
    updateAfter(1); // the caption takes the finished label at the next update
    EXPECT_EQ(h.form.caption(), "<9.0 Sec.> tea");
}

TEST_F(MessageArea, ReRunRunsCyclesCountedInText9) {
    h.form.Text9.setText("0");
    type("ReRun: Off=10s On=5s : tea");
    QStringList counts;
    int beeps = h.beep.count;
    int onUpdates = 0;
    for (int update = 0; update < 31; ++update) {
        updateAfter(1);
        if (counts.isEmpty() || counts.back() != h.form.Text9.text())
            counts << h.form.Text9.text();
        if (h.m.AlarmMode == ModeReRunOn)
            ++onUpdates;
    }
    EXPECT_EQ(counts, (QStringList{"0", "0.5", "1", "1.5", "2"}));
    // Two whole cycles of 15 updates: six beeps each, at 0, -1, ... -5 seconds.
    EXPECT_EQ(h.beep.count - beeps, 12);
    EXPECT_GT(onUpdates, 0);
}

TEST_F(MessageArea, EditingTheLabelKeepsAnOffPeriodButRestartsAnOnPeriod) {
    type("ReRun: Off=10s On=5s : tea");
    updateAfter(4);
    ASSERT_EQ(h.m.AlarmMode, ModeReRunOff);
    type("ReRun: Off=10s On=5s : green tea");
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOff);
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 6) << "the Off period goes on";

    updateAfter(7); // into the On period
    ASSERT_EQ(h.m.AlarmMode, ModeReRunOn);
    type("ReRun: Off=10s On=5s : tea");
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOff);
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 10);
    EXPECT_EQ(h.form.Text4.backColor(), Colors::Yellow);

    type("ReRun: Off=10s : tea"); // incomplete: the cycle stops
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOffOnly);
    EXPECT_EQ(h.form.Text4.backColor(), Colors::WindowBackground);
}

TEST_F(MessageArea, CaptionLabelOfLongMessagesIsSafe) {
    QString longMessage(100000, u'x');
    longMessage.prepend("ReRun: Off=1m On=1s ");
    longMessage.append(": far away");
    type(longMessage);
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOff);
    EXPECT_FALSE(h.m.CaptionText.isEmpty());
    type(QString(100000, u'y'));
    EXPECT_EQ(h.m.CaptionText.size(), 100000);
}

TEST_F(MessageArea, SliderMoveDuringBeepingRefreshesWithoutABeep) {
    h.m.SecondsToAlarm = -5;
    h.m.AlarmMode = ModeArmed;
    const int beeps = h.beep.count;
    h.form.VScroll1.setValue(10);
    EXPECT_EQ(h.form.Timer1.interval(), 10);
    EXPECT_EQ(h.form.Text1.text(), "10");
    EXPECT_EQ(h.form.Text6.text(), "10");
    EXPECT_EQ(h.beep.count, beeps);
    EXPECT_EQ(h.form.Text2.text(), "0.1");
    EXPECT_EQ(h.form.Text3.backColor(), Colors::Red);
    for (int tick = 0; tick < 100; ++tick)
        h.program.Timer1_Timer();
    EXPECT_EQ(h.beep.count, beeps + 1) << "the next beep a full cycle later at the new rate";
}
