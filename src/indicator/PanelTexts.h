#pragma once

#include "verbs/AlarmList.h"

#include <QString>

#include <optional>
#include <vector>

// What the panel icon says of the alarms: pure functions of the alarms and the time now.
namespace PanelTexts {
// The alarm that matters most: the first that sounds, else the one due soonest; none when no
// alarm sounds or is due.
std::optional<std::size_t> mostPressing(const std::vector<Verbs::ListedAlarm>& alarms,
                                        qint64 nowMs);
// A span of time as a reader takes it in at a glance: "40 s", "12 min", "2 h 5 min", "3 d 4 h".
QString span(qint64 ms);
// The same in two or three characters, for the icon: "40s", "12m", "2h", "3d".
QString shortSpan(qint64 ms);
// One line of the tooltip: "Tea: 12 min left, due 14:05", "Stand up: ringing for 3 min".
QString line(const Verbs::ListedAlarm& alarm, qint64 nowMs);
// The title of the alarm's submenu: its title and, while it counts, the time left.
QString menuTitle(const Verbs::ListedAlarm& alarm, qint64 nowMs);
} // namespace PanelTexts
