#pragma once

#include <csignal>

// While one lives, writing to a socket whose other end has gone fails with EPIPE instead of
// ending the program with SIGPIPE. The X library writes its greeting without guarding against
// it, so a display server that hangs up at that moment would end the program without a word.
// Only for a while: programs started later would inherit the ignored signal.
class PipeSignalIgnored {
public:
    PipeSignalIgnored();
    ~PipeSignalIgnored();

    PipeSignalIgnored(const PipeSignalIgnored&) = delete;
    PipeSignalIgnored& operator=(const PipeSignalIgnored&) = delete;

private:
    struct sigaction previous_ {};
};
