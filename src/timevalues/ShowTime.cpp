#include "app/NumberText.h"
#include "app/Program.h"

#include <cmath>

namespace {
struct Shown {
    QString number;
    const char16_t* unit;
    const char16_t* mark;
};

// The first row whose bound lies above v picks the magnitude.
Shown timeText(float v) {
    using NumberText::oneDecimal;
    using NumberText::whole;
    if (v < 10)
        return {oneDecimal(v, true), u" Sec.", u"s-> "};
    if (v < 60)
        return {whole(v), u" Sec.", u"s-> "};
    if (v < 600)
        return {oneDecimal(v / 60.0f, false), u" Min.", u"m-> "};
    if (v < 3600)
        return {whole(v / 60.0f), u" Min.", u"m-> "};
    if (v < 36000)
        return {oneDecimal(v / 3600.0f, false), u" Hr.", u"h-> "};
    if (v < 86400)
        return {whole(v / 3600.0f), u" Hr.", u"h-> "};
    if (v < 604800)
        return {oneDecimal(v / 86400.0f, false), u" Dy.", u"D-> "};
    if (v < 6048000)
        return {oneDecimal(v / 604800.0f, false), u" Wk.", u"W-> "};
    return {whole(v / 604800.0f), u" Wk.", u"W-> "};
}

const char16_t* const runningArrow[4] = {u"->--- ", u"-->-- ", u"--->- ", u"----> "};
} // namespace

void Program::ShowTime(float& seconds) {
    if (seconds > 0) {
        form.Text3.setBackColor(Colors::Green);
        form.Text3.setForeColor(Colors::Black);
    } else {
        form.Text3.setBackColor(Colors::Red);
        form.Text3.setForeColor(Colors::White);
    }
    seconds = std::fabs(seconds);
    const Shown shown = timeText(seconds);
    const QString time = shown.number + QString::fromUtf16(shown.unit);

    if (form.windowState() != Form1::Minimized)
        form.Text3.setText(time);

    const Colors::Ole area = form.Text4.backColor();
    if (area == Colors::Orange) {
        form.setCaption(u'>' + time + u'<' + m.CaptionText);
    } else if (area == Colors::Yellow) {
        form.setCaption(u'<' + time + u'>' + m.CaptionText);
    } else if (form.Text3.backColor() == Colors::Green) {
        form.setCaption(shown.number + QString::fromUtf16(shown.mark) + m.CaptionText);
    } else {
        const int step = m.CaptionMarkStep & 3;
        form.setCaption(QString::fromUtf16(runningArrow[step]) + m.CaptionText);
        m.CaptionMarkStep = std::int16_t((step + 1) & 3);
    }
}
