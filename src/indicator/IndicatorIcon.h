#pragma once

#include <QIcon>
#include <QString>

// The application's icon, marked with the state of the alarm that matters most: a red dot while
// one sounds, else the time left until the nearest, drawn small on a dark patch.
struct IndicatorMark {
    bool sounding = false;
    QString left; // "12m"; empty for no mark

    bool operator==(const IndicatorMark&) const = default;
};

QIcon indicatorIcon(const QIcon& base, const IndicatorMark& mark);
