#include "WakeTimer.h"

QString wakeStateName(WakeTimer::State state) {
    switch (state) {
    case WakeTimer::State::Armed:
        return QStringLiteral("armed");
    case WakeTimer::State::Unavailable:
        return QStringLiteral("unavailable");
    case WakeTimer::State::None:
        break;
    }
    return {};
}
