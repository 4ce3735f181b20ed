#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

// The desktop's fonts are wider than the ones the window was laid out for, and a caption that
// runs into its button's frame reads as cut off. These give a button's caption, or a display
// box's text, a font in which it fits.

// The room a push button or a line edit leaves its text, from its style.
QRect textRoom(const QWidget& widget);

// The given font, or the largest smaller one (down to 6 pt) in which the text fits the room,
// measured as the widget draws it.
QFont fittedFont(const QWidget& widget, const QFont& font, const QString& text, const QRect& room);
