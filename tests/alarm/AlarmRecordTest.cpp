#include "FakePlatform.h"
#include "alarm/LateRule.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <functional>

using namespace AlarmModes;

namespace {
constexpr qint64 Minute = 60'000;

// A started program whose record is kept.
struct Record : testing::Test, DrivenProgram {};
} // namespace

TEST_F(Record, IsWrittenForEachChangeOfTheAlarmAndNeverForATick) {
    start("/ss=10s /dd=8s /t2=20 /m=Tea");
    ASSERT_EQ(h.alarms.saves, 1) << "start-up, once the window is up";
    const qint64 due = h.clock.epochMs + 10'000;
    EXPECT_NEAR(h.alarms.only().dueMs, due, 20);

    struct Change {
        const char* what;
        std::function<void()> make;
        const char* state;
    };
    const Change changes[] = {
        {"beeping begins", [&] { update(4), update(4), update(4); }, "beeping"},
        {"in your face", [&] { update(4), update(4); }, "in-your-face"},
        {"a new StartSet", [&] { enter(h.form.Text8, "1h"); }, "counting"},
        {"a new DropDead", [&] { enter(h.form.Text10, "2m"); }, "counting"},
        {"the slider", [&] { h.form.VScroll1.setValue(5); }, "counting"},
        {"a message edit", [&] { h.form.Text4.setText("Tea\r\nand cake"); }, "counting"},
        {"ReRun", [&] { h.form.Text4.setText("ReRun: Off=8s On=8s : stretch"); }, "rerun-off"},
        {"its On period", [&] { update(4), update(4); }, "rerun-on"},
        {"a launch that fails",
         [&] { h.form.Text4.setText("Start: /nope"), enter(h.form.Text8, "3s"), update(4); },
         "launch-failed"},
    };
    for (const Change& change : changes) {
        const int before = h.alarms.saves;
        change.make();
        EXPECT_GE(h.alarms.saves, before + 1) << change.what;
        EXPECT_EQ(alarmStateName(h.alarms.only().state), change.state) << change.what;
    }

    // A countdown of hours: thousands of ticks, not one write.
    enter(h.form.Text8, "5h");
    const int before = h.alarms.saves;
    for (int i = 0; i < 60; ++i)
        update(4); // 50 ticks each at slider 5
    EXPECT_EQ(h.alarms.saves, before);

    h.form.Text4.setText("/?"); // ends idle: the record goes
    EXPECT_TRUE(h.alarms.records.empty());
}

// A due time past any instant the record can say is kept at the far end: never wrapped into the
// past, where a resumed alarm would ring at once, nor unreadable, where it would be lost.
TEST_F(Record, AnOffPeriodOfThirtyDigitsIsDueFarAhead) {
    start("/ss=10s /t2=20 /m=Tea");
    h.form.Text4.setText("ReRun: Off=555555555555555555555555555555 On=30s : stretch");
    // The year 9999, the last the record can say: it is read back, and due after this century.
    EXPECT_GT(h.alarms.only().dueMs, QDateTime(QDate(2100, 1, 1), QTime(0, 0)).toMSecsSinceEpoch());
}

TEST_F(Record, GoesWithTheUserButStaysWhenTheSessionEndsOrTheProgramIsStopped) {
    start("/ss=10m /m=Tea");
    ASSERT_EQ(h.alarms.records.size(), 1u);
    h.window.ending = true;
    h.form.Unload.raise();
    EXPECT_EQ(h.alarms.records.size(), 1u) << "closed by the session manager";

    Harness other;
    other.environment.tail = "/ss=10m /m=Coffee";
    other.form.Load.raise();
    other.program.keeper.windowShown();
    other.form.Unload.raise();
    EXPECT_TRUE(other.alarms.records.empty()) << "closed by the user";
}

TEST_F(Record, AStartedProgramEndsItsRecordBeforeTheProgramEnds) {
    start("/ss=1s /m=x");
    h.form.Text4.setText("Start: /bin/true");
    h.launcher.nextResult = 42;
    update(4);
    EXPECT_EQ(h.window.endCount, 1);
    EXPECT_TRUE(h.alarms.records.empty());
}

TEST(RecordText, ReadsBackEveryFieldAndRefusesWhatItCannotRead) {
    AlarmRecord r;
    r.id = "0123456789abcdef";
    r.state = AlarmState::LaunchFailed;
    r.mode = ModeLaunchFailed;
    r.message = "Start: /usr/bin/xeyes -geometry 50x50\r\nline «2»";
    r.dueMs = 1796724000123;
    r.onsetMs = 1796723000456;
    r.dropDeadSeconds = 180;
    r.dropDeadText = "0.05h";
    r.startSetText = "07h30";
    r.rateMin = 3, r.rateSet = 5, r.rateMax = 900;
    r.reRunOffSeconds = 1.5f, r.reRunOnSeconds = 0.25f, r.cycles = "12.5";
    r.settingsFile = "/home/ü/x.ini";
    r.controlAreaOpen = true;
    r.windowLeft = -300, r.windowTop = 45, r.windowWidth = 7000, r.windowHeight = 3000;
    r.windowState = 2;
    const auto back = AlarmRecordText::read(AlarmRecordText::write(r));
    ASSERT_TRUE(back.record) << back.error.toStdString();
    EXPECT_TRUE(back.record->sameAs(r));
    EXPECT_EQ(back.record->dueMs, r.dueMs);
    EXPECT_EQ(back.record->onsetMs, r.onsetMs);

    QByteArray newer = AlarmRecordText::write(r);
    newer.replace("\"version\": 1", "\"version\": 2");
    EXPECT_TRUE(AlarmRecordText::read(newer).error.contains("format version 2"));
    QByteArray outOfOrder = AlarmRecordText::write(r);
    outOfOrder.replace("\"min\": 3", "\"min\": 7");
    EXPECT_FALSE(AlarmRecordText::read(outOfOrder).record);
    QByteArray pathInId = AlarmRecordText::write(r);
    pathInId.replace("0123456789abcdef", "../../etc/passwd");
    EXPECT_FALSE(AlarmRecordText::read(pathInId).record);
    EXPECT_FALSE(AlarmRecordText::read("{\"format\": \"pingolet-alarm\"").record);
}

// Recorded at 10:00 (due as given), brought back at `now`.
TEST(LateRule, NeverEarlyNeverTwiceAndClearAboutWhatFellDue) {
    constexpr qint64 Now = 1796724000000;
    struct Case {
        const char* what;
        std::int16_t mode;
        qint64 due;
        std::int16_t mode2;
        double seconds; // to the alarm, after
        std::optional<qint64> onset;
        bool missed;
        const char* cycles;
    };
    const Case cases[] = {
        {"due ahead", ModeArmed, Now + 25 * Minute, ModeArmed, 1500, {}, false, "0"},
        {"due a minute ago", ModeArmed, Now - Minute, ModeArmed, -60, Now - Minute, false, "0"},
        {"longer ago than DropDead", ModeArmed, Now - 90 * Minute, ModeArmed, -5400,
         Now - 90 * Minute, false, "0"},
        {"Start: 1 min late", ModeLaunchPending, Now - Minute, ModeLaunchPending, -60, Now - Minute,
         false, "0"},
        {"Start: 2 h late", ModeLaunchPending, Now - 120 * Minute, ModeLaunchFailed, -7200,
         Now - 120 * Minute, true, "0"},
        // Off=10m On=5m, in an Off period due at 07:00, back at 10:00: 12 cycles passed and the
        // 13th On period began at 10:00.
        {"ReRun 3 h away", ModeReRunOff, Now - 180 * Minute, ModeReRunOn, 0, {}, false, "12.5"},
    };
    for (const Case& c : cases) {
        AlarmRecord r;
        r.mode = c.mode;
        r.dueMs = c.due;
        r.reRunOffSeconds = 600, r.reRunOnSeconds = 300;
        const ResumePlan plan = LateRule::plan(r, Now);
        EXPECT_EQ(plan.mode, c.mode2) << c.what;
        EXPECT_DOUBLE_EQ(plan.secondsToAlarm, c.seconds) << c.what;
        EXPECT_EQ(plan.onsetMs, c.onset) << c.what;
        EXPECT_EQ(plan.launchMissed, c.missed) << c.what;
        EXPECT_EQ(plan.cycles, c.cycles) << c.what;
    }
}

// The whole way back: a program brought back from a record behaves as the rule says.
TEST_F(Record, AResumedAlarmRingsAtOnceOrNeverStartsWhatIsTooLate) {
    start("/ss=10m /dd=30m /t2=20 /m=Start: /usr/bin/backup");
    AlarmRecord record = h.program.keeper.record();
    record.message = "Tea";
    record.mode = ModeArmed;
    record.dueMs = h.clock.epochMs - 45 * Minute; // longer ago than DropDead

    Harness back;
    back.clock.epochMs = h.clock.epochMs;
    back.program.keeper.resume(record);
    back.program.keeper.windowShown();
    EXPECT_EQ(back.program.keeper.id(), record.id);
    back.form.Timer1.TimerEvent.raise();
    EXPECT_EQ(back.window.activatedTitles.size(), 1u) << "straight in your face";
    ASSERT_EQ(back.notifier.posted.size(), 1u);
    EXPECT_TRUE(back.notifier.posted[0].body.startsWith("It was due at"));
    EXPECT_EQ(back.form.Text3.text(), "45 Min.");
    EXPECT_EQ(alarmStateName(back.alarms.only().state), "in-your-face");

    record.message = "Start: /usr/bin/backup";
    record.mode = ModeLaunchPending;
    record.dueMs = h.clock.epochMs - 120 * Minute;
    Harness late;
    late.clock.epochMs = h.clock.epochMs;
    late.launcher.nextResult = 7;
    late.program.keeper.resume(record);
    for (int i = 0; i < 1000; ++i)
        late.form.Timer1.TimerEvent.raise();
    EXPECT_TRUE(late.launcher.launches.empty());
    EXPECT_EQ(late.m.AlarmMode, ModeLaunchFailedInYourFace);
    EXPECT_EQ(late.form.Text4.backColor(), Colors::Red);
    ASSERT_EQ(late.notifier.posted.size(), 1u);
    EXPECT_EQ(late.notifier.posted[0].summary, "Not started: /usr/bin/backup");

    late.form.Text8.setText("1s"); // a new StartSet re-arms it as always
    late.form.Text8.LostFocus.raise();
    late.clock.advance(4);
    late.form.Timer1.TimerEvent.raise();
    EXPECT_EQ(late.launcher.launches.size(), 1u);
}
