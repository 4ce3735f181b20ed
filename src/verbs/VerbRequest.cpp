#include "verbs/VerbRequest.h"

#include <QStringList>

namespace {
// An alarm's id or its beginning: hex digits, never a marker of the program's command line.
bool isIdWord(const QString& word) {
    if (word.isEmpty())
        return false;
    for (const QChar c : word) {
        if (!c.isLetterOrNumber())
            return false;
    }
    return true;
}
} // namespace

Verbs::Request Verbs::parse(int argc, const char* const argv[]) {
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    const QString verb = words.value(0);
    const qsizetype n = words.size();
    if (n == 1 && verb == u"--resume")
        return {Kind::ResumeAll, {}, {}};
    if (n == 1 && verb == u"--list")
        return {Kind::List, {}, {}};
    if (n == 2 && verb == u"--list" && words[1] == u"--json")
        return {Kind::ListJson, {}, {}};
    if (n == 2 && verb == u"--watch" && words[1] == u"--json")
        return {Kind::WatchJson, {}, {}};
    if (n < 2 || !isIdWord(words[1]))
        return {};
    const QString id = words[1];
    if (n == 2 && verb == u"--resume")
        return {Kind::ResumeOne, id, {}};
    if (n == 2 && verb == u"--ack")
        return {Kind::Ack, id, {}};
    if (n == 2 && verb == u"--cancel")
        return {Kind::Cancel, id, {}};
    if (n == 2 && verb == u"--open")
        return {Kind::Open, id, {}};
    // A duration of several words ("5 min") arrives as several arguments.
    if (n >= 3 && verb == u"--snooze")
        return {Kind::Snooze, id, words.mid(2).join(u' ')};
    return {};
}
