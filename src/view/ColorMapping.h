#pragma once

#include "ui/Colors.h"

#include <QColor>
#include <QPalette>

class QWidget;

// An OLE colour as the desktop shows it: 0x00BBGGRR as is, a system colour from the
// application's palette.
QColor toQColor(Colors::Ole color);

// Puts the back and fore colours into the given roles of the widget's palette. The disabled
// fore colour stays the style's, so that a disabled control still looks disabled.
void applyColors(QWidget& widget, QPalette::ColorRole backRole, Colors::Ole back,
                 QPalette::ColorRole foreRole, Colors::Ole fore);
