#include "platform/linux/services/PipeSignalIgnored.h"

PipeSignalIgnored::PipeSignalIgnored() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &previous_);
}

PipeSignalIgnored::~PipeSignalIgnored() {
    sigaction(SIGPIPE, &previous_, nullptr);
}
