#include "verbs/VerbRequest.h"

#include <QStringList>

Verbs::Request Verbs::parse(int argc, const char* const argv[]) {
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    if (words.value(0) != QLatin1String("--resume"))
        return {};
    if (words.size() == 1)
        return {Kind::ResumeAll, {}};
    if (words.size() == 2 && !words[1].isEmpty() && !words[1].startsWith(u'/'))
        return {Kind::ResumeOne, words[1]};
    return {};
}
