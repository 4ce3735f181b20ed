#include "FakePlatform.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace AlarmModes;

namespace {
// A started program whose alarm has beeped for DropDead (60 s): the next update is the stage.
std::unique_ptr<Harness> ringing(const char* message) {
    auto h = std::make_unique<Harness>();
    h->program.Form_Load();
    h->form.Text4.setText(message);
    h->m.DropDeadSeconds = 60;
    h->m.SecondsToAlarm = -60;
    h->m.AlarmOnsetTime = h->clock.now - 60;
    h->m.LastTickTime = h->clock.now;
    h->m.AlarmMode = ModeArmed;
    return h;
}

void update(Harness& h, float seconds = 4) {
    h.clock.advance(seconds);
    h.tickToNextUpdate();
}
} // namespace

TEST(NagNotice, OnePerAlarmChangedOnlyWhenItsTextChanges) {
    auto h = ringing("Tea is ready\r\nsecond line");
    update(*h);
    ASSERT_EQ(h->notifier.posted.size(), 1u);
    EXPECT_EQ(h->notifier.posted[0].summary, "Tea is ready");
    EXPECT_EQ(h->notifier.posted[0].body,
              "Beeping began 1 min ago.\nEditing the message ends the alarm.");
    update(*h);
    update(*h);
    EXPECT_EQ(h->notifier.posted.size(), 1u);
    EXPECT_TRUE(h->notifier.updates.empty());

    update(*h, 60); // two minutes and more
    EXPECT_EQ(h->notifier.posted.size(), 1u);
    ASSERT_EQ(h->notifier.updates.size(), 1u);
    EXPECT_TRUE(h->notifier.updates[0].body.startsWith("Beeping began 2 min ago."));
    EXPECT_EQ(h->notifier.withdrawn, 0);
}

TEST(NagNotice, WithdrawnWhenTheAlarmEnds) {
    const std::pair<const char*, std::function<void(Harness&)>> endings[] = {
        {"message edited", [](Harness& h) { h.form.Text4.setText("ok"); }},
        {"new StartSet",
         [](Harness& h) {
             h.form.Text8.setText("5 min");
             h.program.Text8_LostFocus();
         }},
        {"file rebuilt", [](Harness& h) { h.form.Text4.setText("/?"); }},
    };
    for (const auto& [what, end] : endings) {
        auto h = ringing("Tea");
        update(*h);
        ASSERT_EQ(h->notifier.posted.size(), 1u) << what;
        end(*h);
        EXPECT_EQ(h->notifier.withdrawn, 1) << what;
        EXPECT_EQ(h->window.calmed, 1) << what << ": marks gone even without the focus";
        update(*h);
        EXPECT_EQ(h->notifier.posted.size(), 1u) << what << ": no notice once the alarm ended";
        EXPECT_EQ(h->notifier.withdrawn, 1) << what;
    }
}

TEST(NagNotice, AFailedLaunchNamesItsProgram) {
    auto h = ringing("Start:  /opt/tools/backup now ");
    h->m.AlarmMode = ModeLaunchFailed;
    update(*h);
    update(*h);
    ASSERT_EQ(h->notifier.posted.size(), 1u) << "one notice, though every update retries";
    EXPECT_EQ(h->notifier.posted[0].summary, "Could not start /opt/tools/backup now");
    EXPECT_TRUE(h->notifier.updates.empty());
}
