#pragma once

#include "ui/Font.h"

#include <QFont>

// The declared faces do not exist here: the desktop's sans-serif and fixed fonts stand in.
QFont toQFont(const Font& font);
