#include "verbs/VerbRequest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
Verbs::Request parsed(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "pingolet");
    return Verbs::parse(int(arguments.size()), arguments.data());
}
} // namespace

// Only a whole command line of one of them is a question about alarms; anything else is the
// program's own command line, a message included.
TEST(VerbRequest, OnlyAWholeCommandLineIsAVerb) {
    using K = Verbs::Kind;
    struct Case {
        std::vector<const char*> arguments;
        K kind;
        const char* id;
        const char* duration;
    };
    const Case cases[] = {
        {{"--resume"}, K::ResumeAll, "", ""},
        {{"--resume", "ab12"}, K::ResumeOne, "ab12", ""},
        {{"--list"}, K::List, "", ""},
        {{"--list", "--json"}, K::ListJson, "", ""},
        {{"--watch", "--json"}, K::WatchJson, "", ""},
        {{"--ack", "all"}, K::Ack, "all", ""},
        {{"--snooze", "ab12", "5", "min"}, K::Snooze, "ab12", "5 min"},
        {{"--cancel", "ab12"}, K::Cancel, "ab12", ""},
        {{"--open", "ab12"}, K::Open, "ab12", ""},
        {{"--watch"}, K::None, "", ""},
        {{"--list", "--json", "x"}, K::None, "", ""},
        {{"--ack"}, K::None, "", ""},
        {{"--snooze", "ab12"}, K::None, "", ""},
        {{"--cancel", "/ss=5m"}, K::None, "", ""},
        {{"/m=--list"}, K::None, "", ""},
        {{"/t2=5", "--resume"}, K::None, "", ""},
    };
    for (const Case& c : cases) {
        const Verbs::Request r = parsed(c.arguments);
        EXPECT_EQ(r.kind, c.kind) << c.arguments[0];
        EXPECT_EQ(r.id, QString(c.id)) << c.arguments[0];
        EXPECT_EQ(r.duration, QString(c.duration)) << c.arguments[0];
    }
}
