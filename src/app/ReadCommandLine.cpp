#include "app/CommandLineMarkers.h"
#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/Program.h"

namespace {
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
    if (line.contains(QStringView(CommandLineMarkers::Help))) {
        BuildSettingsFile();
        return;
    }

    // The value of the marker's first occurrence; its position goes to ScanPosition.
    auto find = [&](QStringView marker) -> std::optional<QString> {
        const auto found = CommandLineMarkers::find(line, marker);
        m.ScanPosition = std::int16_t(found ? found->marker : 0);
        if (!found)
            return std::nullopt;
        return CommandLineMarkers::value(line, *found);
    };
    auto readInterval = [&](QStringView marker, std::int16_t& target) {
        if (const auto text = find(marker)) {
            if (const auto number = NumberRule::leadingNumber(*text))
                Store::int16(target, *number);
        }
    };

    readInterval(u"/t1=", m.BeepIntervalMin);
    readInterval(u"/t2=", m.BeepIntervalSet);
    readInterval(u"/t3=", m.BeepIntervalMax);
    if (const auto text = find(u"/dd="))
        m.DropDeadText = *text;
    if (const auto text = find(u"/m="))
        m.MessageText = *text;
    if (const auto path = find(u"/f=")) {
        // A path from the root is complete; any other is the program folder's.
        m.IniPath = path->startsWith(u'/') ? *path : m.AppDir + *path;
    }
    if (const auto text = find(u"/ss="))
        m.StartSetText = *text;

    orderPair(m.BeepIntervalMin, m.BeepIntervalSet, m.ScanPosition);
    orderPair(m.BeepIntervalMin, m.BeepIntervalMax, m.ScanPosition);
    orderPair(m.BeepIntervalSet, m.BeepIntervalMax, m.ScanPosition);
}
