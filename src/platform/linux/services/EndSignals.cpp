#include "EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int pipeEnds[2] = {-1, -1}; // the handler writes the signal's number, the loop reads it

extern "C" void onSignal(int number) {
    const int saved = errno;
    const char byte = char(number);
    (void)!::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

constexpr int Handled[] = {SIGINT, SIGTERM, SIGHUP};
} // namespace

EndSignals::EndSignals(std::function<void(Ending)> onEnd) : onEnd_(std::move(onEnd)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndSignals::received);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : Handled)
        ::sigaction(number, &action, nullptr);
}

EndSignals::~EndSignals() {
    for (const int number : Handled)
        std::signal(number, SIG_DFL);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void EndSignals::received() {
    char byte = 0;
    bool byUser = false;
    bool any = false;
    while (::read(pipeEnds[0], &byte, 1) == 1) {
        any = true;
        byUser = byUser || byte == SIGINT;
    }
    if (any && onEnd_)
        onEnd_(byUser ? Ending::ByUser : Ending::KeepAlarm);
}
