#pragma once

#include <QString>
#include <optional>

// Where each command-line marker's value lies, by the marker's own rule: a slider number ends
// where its number ends, a StartSet or DropDead text before the next "/", a message or a file
// name at the end of the line. Positions count from 1, as the handlers count.
namespace CommandLineMarkers {
inline constexpr char16_t Help[] = u"/?";
// In the order the command line is read.
inline constexpr const char16_t* Markers[] = {u"/t1=", u"/t2=", u"/t3=", u"/dd=",
                                              u"/m=",  u"/f=",  u"/ss="};

struct Found {
    int marker; // where the marker starts
    int start;  // where its value starts
    int end;    // one past its value's end
};

// The marker's first occurrence, ignoring case, or nothing.
std::optional<Found> find(const QString& line, QStringView marker);
// The value's text.
QString value(const QString& line, const Found& found);
} // namespace CommandLineMarkers
