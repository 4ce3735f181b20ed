#pragma once

#include <QIcon>

// The program's icon, an alarm clock, for its window and for the desktop's task list.
QIcon appIcon();
