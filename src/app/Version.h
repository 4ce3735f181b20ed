#pragma once

#include <QString>

// The program's version, which the settings file carries too.
namespace Version {
inline constexpr int Major = 1;
inline constexpr int Minor = 21;
inline QString text() {
    return QString::number(Major) + u'.' + QString::number(Minor);
}
} // namespace Version
