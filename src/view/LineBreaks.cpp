#include "LineBreaks.h"

QString toWidgetLineBreaks(const QString& modelText) {
    // The tick sets texts without line breaks many times a second: no copy for those.
    if (!modelText.contains(QLatin1Char('\r')))
        return modelText;
    QString text = modelText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QString toModelLineBreaks(const QString& widgetText) {
    if (!widgetText.contains(QLatin1Char('\n')))
        return widgetText;
    QString text = widgetText;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}
