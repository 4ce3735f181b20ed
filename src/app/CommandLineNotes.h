#pragma once

#include <QStringList>

class Program;

// What the command line held that the program could not use, for standard error, one line
// each: every piece of it that no marker took (ignored, as the command line always ignored
// unknown text), and a StartSet or DropDead value that is no time (its field shows it red).
// Read after start-up.
namespace CommandLineNotes {
QStringList notes(const Program& program);
}
