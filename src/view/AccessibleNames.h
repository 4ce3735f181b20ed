#pragma once

#include "ui/Form1.h"

#include <QString>

// What a screen reader calls each control: what the control is. The buttons are named by
// their captions, and every control's tooltip is its description.
QString accessibleNameOf(const Form1& form, const Control& control);
