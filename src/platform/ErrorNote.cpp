#include "ErrorNote.h"

#include <cstdio>

void errorNote(const QString& note) {
    std::fputs((QStringLiteral("pingolet: ") + note + u'\n').toLocal8Bit().constData(), stderr);
}
