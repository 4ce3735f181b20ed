#include "app/CommandLineMarkers.h"

#include "app/NumberRule.h"
#include "app/TextPositions.h"

namespace CommandLineMarkers {

std::optional<Found> find(const QString& line, QStringView marker) {
    const int at = TextPositions::instr(1, line, marker, true);
    if (at <= 0)
        return std::nullopt;
    const int start = at + int(marker.size());
    const int lineEnd = int(line.size()) + 1;
    int end = lineEnd;
    if (marker.startsWith(u"/t")) {
        qsizetype length = 0;
        NumberRule::leadingNumber(TextPositions::rest(line, start).value_or(QString()), &length);
        end = start + int(length);
    } else if (marker == u"/dd=" || marker == u"/ss=") {
        const int slash = TextPositions::instr(start, line, u"/");
        end = slash > 0 ? slash : lineEnd;
    }
    return Found{at, start, end};
}

QString value(const QString& line, const Found& found) {
    return TextPositions::mid(line, found.start, found.end - found.start).value_or(QString());
}

} // namespace CommandLineMarkers
