#pragma once

#include <QString>

// One line on standard error, "pingolet: " and the note: how the program tells its user of what
// it skipped or could not do.
void errorNote(const QString& note);
