#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/Program.h"
#include "app/TextPositions.h"

namespace {
// The text after a marker up to the next "/", or to the end of the line.
QString untilNextSlash(const QString& line, int valueStart) {
    const int slash = TextPositions::instr(valueStart, line, u"/");
    const int end = slash > 0 ? slash : int(line.size()) + 1;
    return TextPositions::mid(line, valueStart, end - valueStart).value_or(QString());
}

// A pair out of order is swapped; a zero (not given) takes part in no swap.
void orderPair(std::int16_t& low, std::int16_t& high, std::int16_t& temporary) {
    if (low != 0 && high != 0 && low > high) {
        temporary = low;
        low = high;
        high = temporary;
    }
}
} // namespace

void Program::ReadCommandLine() {
    const QString& line = m.CommandLine = platform_.environment.commandLineTail();
    if (!Store::int16(m.CommandLineLength, double(line.size())))
        return; // a line too long for its length: the reader fails as a whole
    if (m.CommandLineLength == 0)
        return;
    if (line.contains(QLatin1String("/?"))) {
        BuildSettingsFile();
        return;
    }

    auto find = [&](QStringView marker) -> int {
        m.ScanPosition = std::int16_t(TextPositions::instr(1, line, marker, true));
        return m.ScanPosition > 0 ? m.ScanPosition + int(marker.size()) : 0;
    };
    auto readInterval = [&](QStringView marker, std::int16_t& target) {
        if (const int start = find(marker)) {
            const auto number =
                NumberRule::leadingNumber(TextPositions::rest(line, start).value_or(QString()));
            if (number)
                Store::int16(target, *number);
        }
    };

    readInterval(u"/t1=", m.BeepIntervalMin);
    readInterval(u"/t2=", m.BeepIntervalSet);
    readInterval(u"/t3=", m.BeepIntervalMax);
    if (const int start = find(u"/dd="))
        m.DropDeadText = untilNextSlash(line, start);
    if (const int start = find(u"/m="))
        m.MessageText = TextPositions::rest(line, start).value_or(QString());
    if (const int start = find(u"/f=")) {
        // A path from the root is complete; any other is the program folder's.
        const QString path = TextPositions::rest(line, start).value_or(QString());
        m.IniPath = path.startsWith(u'/') ? path : m.AppDir + path;
    }
    if (const int start = find(u"/ss="))
        m.StartSetText = untilNextSlash(line, start);

    orderPair(m.BeepIntervalMin, m.BeepIntervalSet, m.ScanPosition);
    orderPair(m.BeepIntervalMin, m.BeepIntervalMax, m.ScanPosition);
    orderPair(m.BeepIntervalSet, m.BeepIntervalMax, m.ScanPosition);
}
