#include "indicator/PanelTexts.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {
constexpr qint64 Minute = 60'000;

Verbs::ListedAlarm alarm(const char* title, AlarmState state, std::optional<qint64> dueMs) {
    Verbs::ListedAlarm a;
    a.title = title;
    a.state = state;
    a.dueMs = dueMs;
    a.service = QStringLiteral("org.example.pingolet.Pingolet.Alarm_") + title;
    return a;
}

// 13:53 local time today, so that "due 14:05" is today's clock.
qint64 today(int hour, int minute) {
    return QDateTime(QDate::currentDate(), QTime(hour, minute)).toMSecsSinceEpoch();
}
} // namespace

// What the icon marks: a sounding alarm wins over any that is due sooner.
TEST(PanelTexts, TheAlarmThatSoundsElseTheNearestMattersMost) {
    const qint64 now = today(13, 53);
    const std::vector<Verbs::ListedAlarm> alarms{
        alarm("Later", AlarmState::Counting, now + 60 * Minute),
        alarm("Sooner", AlarmState::LaunchPending, now + 5 * Minute),
        alarm("Idle", AlarmState::Idle, std::nullopt),
        alarm("Kept", AlarmState::Away, now + Minute),
    };
    EXPECT_EQ(PanelTexts::mostPressing(alarms, now), 1u);
    auto ringing = alarms;
    ringing.push_back(alarm("Tea", AlarmState::ReRunOn, now - Minute));
    EXPECT_EQ(PanelTexts::mostPressing(ringing, now), 4u);
    EXPECT_EQ(PanelTexts::mostPressing({alarms[2], alarms[3]}, now), std::nullopt);
}

TEST(PanelTexts, LinesSayWhatEachAlarmDoesAndWhen) {
    const qint64 now = today(13, 53);
    struct Case {
        Verbs::ListedAlarm alarm;
        const char* line;
        const char* menu;
    } cases[] = {
        {alarm("Tea", AlarmState::Counting, today(14, 5)), "Tea: 12 min left, due 14:05",
         "Tea (12 min left)"},
        {alarm("Stand up", AlarmState::Beeping, now - 3 * Minute - 20'000),
         "Stand up: ringing for 3 min", "Stand up (ringing)"},
        {alarm("Soon", AlarmState::Counting, now + 40'000), "Soon: 40 s left, due 13:53",
         "Soon (40 s left)"},
        {alarm("", AlarmState::Idle, std::nullopt), "Pingolet: idle", "Pingolet"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PanelTexts::line(c.alarm, now), c.line);
        EXPECT_EQ(PanelTexts::menuTitle(c.alarm, now), c.menu);
    }
}

TEST(PanelTexts, SpansFitAGlanceAndTheIcon) {
    const std::pair<qint64, std::pair<const char*, const char*>> cases[] = {
        {59'400, {"59 s", "59s"}},
        {59'600, {"1 min", "1m"}},
        {11 * Minute + 57'000, {"12 min", "12m"}},
        {2 * 3600'000 + 5 * Minute, {"2 h 5 min", "2h"}},
        {3 * 86400'000LL + 4 * 3600'000, {"3 d 4 h", "3d"}},
    };
    for (const auto& [ms, texts] : cases) {
        EXPECT_EQ(PanelTexts::span(ms), texts.first);
        EXPECT_EQ(PanelTexts::shortSpan(ms), texts.second);
    }
}
