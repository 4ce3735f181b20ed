#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/Program.h"
#include "app/TextPositions.h"

#include <array>
#include <cmath>

namespace {
constexpr char16_t unitLetters[5] = {u's', u'm', u'h', u'd', u'w'};
constexpr std::int32_t multipliers[7] = {0, 0, 1, 60, 3600, 86400, 604800};
} // namespace

// Seconds denoted by a number and a unit letter, or 0 for anything unusable.
float Program::ParseTimeValue(const QString& text) {
    // Slot 0: the unit found, slot 1: the earliest unit position, slots 2 to 6: where each
    // of s, m, h, d, w first stands from the second character on.
    std::array<std::int32_t, 7> slot{};
    if (!Store::int32(slot[1], double(text.size()) + 1))
        return 0;
    for (int i = 0; i < 5; ++i)
        slot[2 + i] = TextPositions::instr(2, text, QStringView(&unitLetters[i], 1), true);
    for (int i = 2; i <= 6; ++i) {
        if (slot[i] > 0 && slot[i] < slot[1]) {
            slot[1] = slot[i];
            slot[0] = i;
        }
    }
    slot[0] = multipliers[slot[0]];

    const auto number = NumberRule::leadingNumber(text);
    if (!number || !Store::single(m.ParseValue, *number))
        return 0;
    m.ParseValue = std::fabs(m.ParseValue);
    return Store::toSingle(double(m.ParseValue) * slot[0]).value_or(0.0f);
}
