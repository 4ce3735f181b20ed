#pragma once

#include <QString>

// The reverse-DNS name the desktop knows the program by: its desktop entry, its metainfo and its
// icon carry it, and the running window names it, so that the desktop matches the two.
inline QString applicationId() {
    return QStringLiteral(PINGOLET_APP_ID);
}
