#include "app/IntegerStore.h"
#include "app/Program.h"
#include "app/TextPositions.h"

using namespace AlarmModes;

namespace {
const QString startPrefix = QStringLiteral("Start:");
const QString reRunPrefix = QStringLiteral("ReRun:");
const QString reRunTemplate = QStringLiteral("ReRun: Off= ## On= ## S,M,H,D,W : Text");

// The prefixes count exactly, with case.
bool startsWith(const QString& text, const QString& prefix) {
    return text.startsWith(prefix, Qt::CaseSensitive);
}
} // namespace

// Every change of the message: acknowledge, re-arm, or start a special function.
void Program::Text4_Change() {
    form.CmdWrtINI.setEnabled(true);
    m.MessageDirty = Module1::True;
    endNagNotice(); // every edit ends a sounding alarm
    keeper.messageEdited();

    const QString& text = form.Text4.text();
    if (text == QLatin1String("/?")) {
        m.AlarmMode = -1;
    } else if (startsWith(text, startPrefix)) {
        if (m.SecondsToAlarm > 0) {
            if (m.AlarmMode != ModeLaunchPending)
                m.AlarmMode = -ModeLaunchPending;
        } else {
            m.AlarmMode = ModeIdle;
        }
    } else if (startsWith(text, reRunPrefix)) {
        parseReRunMessage();
    } else if (m.SecondsToAlarm > 0) {
        if (m.AlarmMode != ModeArmed)
            m.AlarmMode = -ModeArmed;
    } else {
        m.AlarmMode = ModeIdle;
    }

    form.Text4.setForeColor(Colors::WindowText); // ends the red flashing

    switch (m.AlarmMode) {
    case ModeIdle:
    case -ModeArmed:
        form.Text9.setVisible(false);
        form.Text4.setBackColor(Colors::WindowBackground);
        break;
    case -1:
        form.Text9.setVisible(false);
        form.Text4.setBackColor(Colors::WindowBackground);
        BuildSettingsFile();
        form.Text4.setText(m.MessageText);
        m.AlarmMode = ModeIdle;
        break;
    case -ModeReRunNoTimes:
    case -ModeReRunOnOnly:
    case -ModeReRunOffOnly:
        form.Text9.setBackColor(Colors::WindowBackground);
        form.Text4.setBackColor(Colors::WindowBackground);
        break;
    case -ModeReRunOff: {
        form.Text9.setVisible(true);
        form.Text9.setBackColor(Colors::Yellow);
        form.Text4.setBackColor(Colors::Yellow);
        m.SecondsToAlarm = m.ReRunOffSeconds; // the Off period starts now
        float shown = m.SecondsToAlarm;
        ShowTime(shown);
        break;
    }
    case -ModeLaunchPending:
        form.Text9.setVisible(false);
        form.Text4.setBackColor(Colors::Green);
        break;
    default:
        break;
    }
    if (m.AlarmMode < 1)
        m.AlarmMode = std::int16_t(-m.AlarmMode);

    // The caption label: the first line, or a ReRun message's text after its label colon.
    const QString& now = form.Text4.text();
    if (!startsWith(now, reRunPrefix))
        m.CaptionStart = 1;
    const int lineBreak = TextPositions::instr(m.CaptionStart, now, u"\r\n");
    const int lineEnd = lineBreak > 0 ? lineBreak : int(now.size()) + 1;
    if (const auto label = TextPositions::mid(now, m.CaptionStart, lineEnd - m.CaptionStart))
        m.CaptionText = *label;
}

void Program::parseReRunMessage() {
    if (form.Text4.text() == reRunPrefix)
        form.Text4.setText(reRunTemplate); // runs this handler for the template, nested
    const QString& text = form.Text4.text();

    std::int16_t validity = ModeReRunNoTimes;
    if (const int on = TextPositions::instr(7, text, u"On=", true)) {
        m.ReRunOnSeconds = ParseTimeValue(TextPositions::rest(text, on + 3).value_or(QString()));
        if (m.ReRunOnSeconds != 0)
            validity += 1;
    }
    if (const int off = TextPositions::instr(7, text, u"Off=", true)) {
        m.ReRunOffSeconds = ParseTimeValue(TextPositions::rest(text, off + 4).value_or(QString()));
        if (m.ReRunOffSeconds != 0)
            validity += 2;
    }
    Store::int16(m.CaptionStart, double(TextPositions::instr(7, text, u":")) + 1);
    if (validity != m.AlarmMode)
        m.AlarmMode = std::int16_t(-validity);
}
