#pragma once

#include <QString>

// The model's line breaks are CR LF, the widgets' LF.
QString toWidgetLineBreaks(const QString& modelText);
QString toModelLineBreaks(const QString& widgetText);
