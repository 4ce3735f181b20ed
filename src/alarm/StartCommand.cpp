#include "app/Program.h"
#include "app/TextPositions.h"

// The "Start:" message's command line, without the prefix and the blanks around it.
QString Program::startCommand() const {
    QString command = TextPositions::rest(form.Text4.text(), 7).value_or(QString());
    qsizetype first = 0;
    while (first < command.size() && command[first] == u' ')
        ++first;
    qsizetype last = command.size();
    while (last > first && command[last - 1] == u' ')
        --last;
    return command.mid(first, last - first);
}
