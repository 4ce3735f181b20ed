#pragma once

#include "ui/Colors.h"

#include <QColor>

// Text that can be read on a dark desktop theme as on a light one. Black text, and the
// system's window text, mean "the dark ink of the desktop": on the desktop's own background
// that is the palette's text colour (light on a dark theme); on one of the fixed signal
// colours (green, yellow, orange, red) it is black or the palette's text, whichever stands out
// more. Any other colour (red text, white text) is drawn as given.
QColor textColorOn(Colors::Ole back, Colors::Ole fore);

// The WCAG contrast ratio of two colours, from 1 (none) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);
