#pragma once

#include <QString>

// The command lines that speak of recorded and running alarms rather than start one. Each is
// answered only when it is the whole command line, before any window exists; any other line
// goes to the program's own command line.
namespace Verbs {
enum class Kind {
    None,
    ResumeAll,
    ResumeOne,
    List,
    ListJson,
    WatchJson,
    Ack,
    Snooze,
    Cancel,
    Open
};

struct Request {
    Kind kind = Kind::None;
    QString id;       // an alarm's id, or any unique beginning of it; "all" for --ack
    QString duration; // --snooze
};

Request parse(int argc, const char* const argv[]);
} // namespace Verbs
