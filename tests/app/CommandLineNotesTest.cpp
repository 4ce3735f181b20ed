#include "app/CommandLineNotes.h"
#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {
QStringList notesFor(const char* tail) {
    Harness h;
    h.environment.tail = QString::fromUtf8(tail);
    h.program.Form_Load();
    return CommandLineNotes::notes(h.program);
}

QString ignored(const char* piece) {
    return QStringLiteral("ignored \"%1\": not an argument it knows (see pingolet --help)")
        .arg(QString::fromUtf8(piece));
}
} // namespace

TEST(CommandLineNotes, NamesEachIgnoredPieceAndEachTimeThatIsNone) {
    const QString badStartSet = QStringLiteral(
        "\"/ss=5\" is not a time such as 30s, 25m, 1.5h or 07h30; the StartSet field "
        "shows it red (see pingolet --help)");
    const QString badDropDead =
        QStringLiteral("\"/DD=soon\" is not a time such as 30s, 5m or 0.5h; the "
                       "DropDead field shows it red (see pingolet --help)");
    struct Case {
        const char* tail;
        QStringList notes;
    } cases[] = {
        {"", {}},
        {"/ss=25m /dd=5m /m=Tea is ready", {}},
        {"/m=Use /ss=5m and -h", {}}, // the message runs to the end
        {"/t1=1 2 /t2=5 /t3=32", {}},
        {"10s", {ignored("10s")}},
        {"-h 10s", {ignored("-h"), ignored("10s")}},
        {"/t2=25 junk /ss=5m", {ignored("junk")}},
        {"/t1=5x", {ignored("x")}},
        {"/ss=1m /ss=2m", {ignored("/ss=2m")}}, // only the first is read
        {"/? 10s", {ignored("10s")}},           // "/?" reads nothing else
        {"/ss=5", {badStartSet}},
        {"/ss=5 /DD=soon", {badStartSet, badDropDead}},
        {"/ss=0 /dd=0", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(notesFor(c.tail), c.notes) << c.tail;
}
