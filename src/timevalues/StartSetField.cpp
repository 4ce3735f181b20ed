#include "app/IntegerStore.h"
#include "app/NumberRule.h"
#include "app/Program.h"
#include "app/TextPositions.h"

using namespace AlarmModes;

namespace {
constexpr float SecondsPerDay = 86400;

// "##h##" or "##h##m": a time of day. A lower-case "h" third, five characters or more, and a
// digit fourth; anything else, '12hours' and '10h 5m' included, is a duration.
bool isTimeOfDay(const QString& text) {
    return TextPositions::at(text, 3) == u'h' && text.size() >= 5 &&
           TextPositions::at(text, 4) >= u'0' && TextPositions::at(text, 4) <= u'9';
}

bool startsWithZero(const QString& text) {
    return TextPositions::at(text, 1) == u'0';
}
} // namespace

std::optional<float> Program::startSetSeconds(const QString& text) {
    if (!isTimeOfDay(text))
        return ParseTimeValue(text);
    const auto hour = NumberRule::leadingNumber(text);
    const auto minute = NumberRule::leadingNumber(TextPositions::mid(text, 4, 2).value());
    if (!hour || !minute)
        return std::nullopt;
    auto seconds =
        Store::toSingle(*hour * 3600 + *minute * 60 - platform_.clock.secondsSinceMidnight());
    if (seconds && *seconds < 0)
        Store::single(*seconds, double(*seconds) + SecondsPerDay);
    return seconds;
}

bool Program::editedSince(const TextBox& field, const std::optional<QString>& evaluated) {
    return !evaluated || field.text() != *evaluated;
}

void Program::Text8_LostFocus() {
    const QString text = form.Text8.text();
    startSetEvaluated_ = text;
    if (const auto seconds = startSetSeconds(text))
        m.SecondsToAlarm = *seconds;

    form.Text8.setBackColor(Colors::WindowBackground);
    if (!(m.SecondsToAlarm > 0)) {
        if (startsWithZero(text)) {
            m.SecondsToAlarm = 0;
        } else {
            form.Text8.setBackColor(Colors::Red);
            m.AlarmMode = ModeIdle;
        }
    }
    float shown = m.SecondsToAlarm;
    ShowTime(shown);
    setLastTickTime(platform_.clock.secondsSinceMidnight());
    form.CmdWrtINI.setEnabled(true);
    m.SettingsDirty = Module1::True;

    // Judge the message afresh against the new delay.
    if (m.AlarmMode >= ModeReRunOff || m.AlarmMode == ModeIdle || m.AlarmMode == ModeArmed)
        Text4_Change();
}

void Program::Text10_LostFocus() {
    const QString text = form.Text10.text();
    dropDeadEvaluated_ = text;
    m.DropDeadSeconds = ParseTimeValue(text);
    form.Text10.setBackColor(Colors::WindowBackground);
    if (!(m.DropDeadSeconds > 0)) {
        m.DropDeadSeconds = 0; // 0: never in your face
        if (!startsWithZero(text))
            form.Text10.setBackColor(Colors::Red);
    }
    form.CmdWrtINI.setEnabled(true);
    m.SettingsDirty = Module1::True;
}

// A double-click repairs a field marked red with a zero value.
void Program::Text8_DblClick() {
    if (form.Text8.backColor() != Colors::Red)
        return;
    form.Text8.setText(QStringLiteral("0Min."));
    Text8_LostFocus();
}

void Program::Text10_DblClick() {
    if (form.Text10.backColor() != Colors::Red)
        return;
    form.Text10.setText(QStringLiteral("0Min."));
    Text10_LostFocus();
}
